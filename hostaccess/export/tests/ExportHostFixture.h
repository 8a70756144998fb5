#pragma once
// An emulated host of the test's own with the system KWVDSYS (CCSID 285),
// the library KWVD and its output queue QPRINT, a settings store of its own
// and scripted prompts; and the spooled files that reached the queue.

#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/HostSetup.h"
#include "platform/clientaccess/OutputQueues.h"
#include "tests/support/ScopedEmuhostStore.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

inline const QString kSystem = QStringLiteral("KWVDSYS");

class ExportHostFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        ASSERT_TRUE(kwvd::clientaccess::InitialiseHost(kSystem, &error)) << error.toStdString();
        ASSERT_TRUE(kwvd::clientaccess::AddOutputQueue(kSystem, QStringLiteral("KWVD"), QStringLiteral("QPRINT"),
                                                       &error))
            << error.toStdString();
    }
    void TearDown() override { kwvd::clientaccess::ClearInjectedFaults(); }

    static std::vector<kwvd::clientaccess::SpooledFile> Queue()
    {
        return kwvd::clientaccess::SpooledFilesOf(kSystem, QStringLiteral("KWVD"), QStringLiteral("QPRINT"));
    }
    static QByteArray Data(const kwvd::clientaccess::SpooledFile& file)
    {
        QString error;
        const std::optional<QByteArray> data = kwvd::clientaccess::SpooledFileData(file, &error);
        EXPECT_TRUE(data.has_value()) << error.toStdString();
        return data.value_or(QByteArray());
    }

    ScopedEmuhostStore store;
    ScopedRegistryFolder registry;
    ScopedPromptAnswers prompts;
};
