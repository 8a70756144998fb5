#include "platform/mail/MailHandOff.h"
#include "tests/support/MailProgramFolder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>

#include <vector>

namespace {

using kwvd::MailMessage;
using kwvd::MailSystemState;
using Program = MailProgramFolder::Program;

TEST(MailSystemState, FollowsWhatThePathHolds)
{
    struct Case
    {
        const char* name;
        Program program;
        MailSystemState expected;
    };
    const Case cases[] = {
        {"runnable program", Program::Runnable, MailSystemState::Available},
        {"no program", Program::None, MailSystemState::Missing},
        {"program that may not be run", Program::NotRunnable, MailSystemState::NotRunnable},
    };
    for (const Case& c : cases) {
        MailProgramFolder folder(c.program);
        EXPECT_EQ(kwvd::GetMailSystemState(), c.expected) << c.name;
        EXPECT_EQ(kwvd::MailProgramPath(), c.expected == MailSystemState::Available ? folder.ProgramPath() : QString())
            << c.name;
    }
}

TEST(MailSystemState, ARunnableProgramLaterOnThePathWins)
{
    MailProgramFolder blocked(Program::NotRunnable);
    MailProgramFolder runnable(Program::Runnable);
    ScopedEnv path("PATH", blocked.Folder() + u':' + runnable.Folder());
    kwvd::ResetMailSystemState();
    EXPECT_EQ(kwvd::GetMailSystemState(), MailSystemState::Available);
    EXPECT_EQ(kwvd::MailProgramPath(), runnable.ProgramPath());
}

TEST(MailSystemState, AFolderOfThatNameIsNoProgram)
{
    MailProgramFolder folder(Program::None);
    ASSERT_TRUE(QDir(folder.Folder()).mkdir(QString::fromLatin1(kwvd::kMailProgram)));
    kwvd::ResetMailSystemState();
    EXPECT_EQ(kwvd::GetMailSystemState(), MailSystemState::Missing);
}

TEST(MailSystemState, IsWorkedOutOncePerProcess)
{
    MailProgramFolder folder(Program::Runnable);
    ASSERT_EQ(kwvd::GetMailSystemState(), MailSystemState::Available);
    ScopedEnv path("PATH", QStringLiteral("/nonexistent"));
    EXPECT_EQ(kwvd::GetMailSystemState(), MailSystemState::Available);
    kwvd::ResetMailSystemState();
    EXPECT_EQ(kwvd::GetMailSystemState(), MailSystemState::Missing);
}

TEST(MailArguments, PutTheMessageInTheProgramsOrder)
{
    struct Case
    {
        const char* name;
        MailMessage message;
        QStringList expected;
    };
    const Case cases[] = {
        {"everything",
         {QStringLiteral("Qorvane WVD File"),
          QStringLiteral("  "),
          {QStringLiteral("/tmp/a b.wvd"), QStringLiteral("/tmp/ü.bmp")},
          {QStringLiteral("support@qorvane.example")}},
         {"--utf8", "--subject", "Qorvane WVD File", "--body", "  ", "--attach", "/tmp/a b.wvd", "--attach",
          "/tmp/ü.bmp", "support@qorvane.example"}},
        {"nothing at all", {}, {"--utf8"}},
        {"only attachments", {{}, {}, {QStringLiteral("/x.wvd")}, {}}, {"--utf8", "--attach", "/x.wvd"}},
        {"two recipients",
         {{}, {}, {}, {QStringLiteral("a@x.example"), QStringLiteral("b@x.example")}},
         {"--utf8", "a@x.example", "b@x.example"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(kwvd::MailArguments(c.message), c.expected) << c.name;
}

TEST(HandOverMail, StartsTheProgramFoundThroughTheLauncher)
{
    MailProgramFolder folder(Program::Runnable);
    RecordingMailLauncher launcher(0);
    MailMessage message;
    message.subject = QStringLiteral("Hello");
    message.recipients = {QStringLiteral("a@x.example")};
    EXPECT_EQ(kwvd::HandOverMail(message), 0);
    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].program, folder.ProgramPath());
    EXPECT_EQ(launcher.calls[0].arguments, kwvd::MailArguments(message));
}

TEST(HandOverMail, StartsNothingWithoutARunnableProgram)
{
    for (const Program program : {Program::None, Program::NotRunnable}) {
        MailProgramFolder folder(program);
        RecordingMailLauncher launcher(0);
        EXPECT_EQ(kwvd::HandOverMail(MailMessage{}), -1);
        EXPECT_TRUE(launcher.calls.empty());
    }
}

// The real launcher runs the program and waits for its status; the
// arguments reach it whole, blanks and non-ASCII letters included.
TEST(HandOverMail, TheProgramsExitStatusComesBack)
{
    int argc = 1;
    char name[] = "kwvd_mail_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    for (const int status : {0, 3}) {
        MailProgramFolder folder(Program::Runnable, status);
        MailMessage message;
        message.subject = QStringLiteral("Zwei Wörter");
        message.body = QStringLiteral(" ");
        message.attachments = {QStringLiteral("/tmp/with blank.wvd")};
        EXPECT_EQ(kwvd::HandOverMail(message), status);
        EXPECT_EQ(folder.Arguments(), kwvd::MailArguments(message));
    }
}

} // namespace
