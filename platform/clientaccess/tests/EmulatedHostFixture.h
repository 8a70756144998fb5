#pragma once
// A store of the test's own with what a test puts in it: systems, libraries
// and files of a system's file system, and error handles that go with the
// test.

#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/HostSetup.h"
#include "platform/clientaccess/HostStore.h"

#include "tests/support/ScopedEmuhostStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <string>
#include <vector>

class EmulatedHost : public ::testing::Test
{
protected:
    ~EmulatedHost() override
    {
        for (cwbSV_ErrHandle handle : m_handles)
            cwbSV_DeleteErrHandle(handle);
    }

    static kwvd::clientaccess::HostSystem System(const QString& name, unsigned ccsid = 285,
                                                 const QString& user = QStringLiteral("KWVDUSER"))
    {
        kwvd::clientaccess::HostSystem system;
        system.name = name;
        system.ccsid = ccsid;
        system.userId = user;
        return system;
    }

    static void Add(const kwvd::clientaccess::HostSystem& system, bool makeDefault = false)
    {
        QString error;
        ASSERT_TRUE(kwvd::clientaccess::AddSystem(system, makeDefault, &error)) << error.toStdString();
    }

    static void Library(const QString& system, const QString& library)
    {
        QString error;
        ASSERT_TRUE(kwvd::clientaccess::AddLibrary(system, library, &error)) << error.toStdString();
    }

    // A file of a system's file system, "QDLS/KWVD/PCIN/INVOICE.JVX".
    void HostFile(const QString& system, const QString& relative, const QByteArray& bytes)
    {
        const QString path = kwvd::clientaccess::IfsFolder(system) + u'/' + relative;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    cwbSV_ErrHandle NewErrorHandle()
    {
        cwbSV_ErrHandle handle = 0;
        EXPECT_EQ(cwbSV_CreateErrHandle(&handle), kCwbOk);
        m_handles.push_back(handle);
        return handle;
    }

    static unsigned long MessageCount(cwbSV_ErrHandle handle)
    {
        unsigned long count = 0;
        EXPECT_EQ(cwbSV_GetErrCount(handle, &count), kCwbOk);
        return count;
    }

    // "ID: text" of every message, as the callers read them.
    static std::vector<std::string> Messages(cwbSV_ErrHandle handle)
    {
        std::vector<std::string> lines;
        for (const auto& message : kwvd::clientaccess::HostMessages(handle))
            lines.push_back(message.id + ": " + message.text);
        return lines;
    }

    static std::string JobLog(const QString& system)
    {
        QFile file(kwvd::clientaccess::JobLogPath(system));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return file.readAll().toStdString();
    }

    ScopedEmuhostStore m_store;

private:
    std::vector<cwbSV_ErrHandle> m_handles;
};
