#pragma once
// The mail hand-off for one scope. MailProgramFolder makes the PATH a
// folder holding a mail program of the test's own or none, so a test decides
// whether mail is there without caring what the machine has installed; the
// stand-in xdg-email writes its arguments, each ended by a NUL, to a file and
// ends with the status the test chose. The process's cached answer about
// mail is forgotten on entry and on exit. RecordingMailLauncher records each
// start of the mail program in place of running it.

#include "platform/mail/MailHandOff.h"
#include "tests/support/ScopedEnvironment.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

class MailProgramFolder
{
public:
    enum class Program {
        None,
        Runnable,
        NotRunnable
    };

    explicit MailProgramFolder(Program program, int exitStatus = 0)
    {
        EXPECT_TRUE(m_dir.isValid());
        if (program != Program::None) {
            QFile script(ProgramPath());
            EXPECT_TRUE(script.open(QIODevice::WriteOnly));
            script.write(QStringLiteral("#!/bin/sh\n"
                                        "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > '%1'\n"
                                        "exit %2\n")
                             .arg(ArgumentsPath())
                             .arg(exitStatus)
                             .toUtf8());
            script.close();
            QFileDevice::Permissions mode = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
            if (program == Program::Runnable)
                mode |= QFileDevice::ExeOwner;
            EXPECT_TRUE(script.setPermissions(mode));
        }
        m_path.Set(m_dir.path());
        kwvd::ResetMailSystemState();
    }
    ~MailProgramFolder() { kwvd::ResetMailSystemState(); }
    MailProgramFolder(const MailProgramFolder&) = delete;
    MailProgramFolder& operator=(const MailProgramFolder&) = delete;

    QString Folder() const { return m_dir.path(); }
    QString ProgramPath() const { return m_dir.filePath(QString::fromLatin1(kwvd::kMailProgram)); }

    // What the stand-in was last run with; empty when it never ran.
    QStringList Arguments() const
    {
        QFile file(ArgumentsPath());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList arguments;
        for (const QByteArray& argument : file.readAll().split('\0'))
            arguments << QString::fromUtf8(argument);
        arguments.removeLast(); // after the last NUL
        return arguments;
    }

private:
    QString ArgumentsPath() const { return m_dir.filePath(QStringLiteral("arguments")); }

    QTemporaryDir m_dir;
    ScopedEnv m_path{"PATH"};
};

class RecordingMailLauncher
{
public:
    struct Call
    {
        QString program;
        QStringList arguments;
    };

    // Every start is answered with the status.
    explicit RecordingMailLauncher(int status = 0)
        : m_previous(kwvd::SetMailLauncher([this](const QString& program, const QStringList& arguments) {
              calls.push_back({program, arguments});
              return this->status;
          })),
          status(status)
    {}
    ~RecordingMailLauncher() { kwvd::SetMailLauncher(m_previous); }
    RecordingMailLauncher(const RecordingMailLauncher&) = delete;
    RecordingMailLauncher& operator=(const RecordingMailLauncher&) = delete;

private:
    kwvd::MailLauncher m_previous;

public:
    int status;
    std::vector<Call> calls;
};
