#include "designer/shell/MapiMailer.h"
#include "designer/shell/MailStrings.h"
#include "platform/registry/RegistryStore.h"
#include "tests/support/MailProgramFolder.h"
#include "tests/support/ScopedEnvironment.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

using Program = MailProgramFolder::Program;

class MapiMailerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        RegisterMailStrings();
    }

    QString Write(const QString& name)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("data");
        return path;
    }

    void SetSupportAddress(const QString& address)
    {
        auto& store = kwvd::RegistryStore::Instance();
        const auto key = store.CreateKey(HKEY_CURRENT_USER,
                                         kwvd::ApplicationKeyPath(u"KWVD Designer") + QStringLiteral("\\Preferences"));
        ASSERT_TRUE(key);
        store.WriteValue(*key, QStringLiteral("SupportMailAddress"), kwvd::RegistryValue::Text(address));
    }

    QTemporaryDir dir;
    ScopedRegistryFolder registry;
    ScopedPromptAnswers prompts;
};

TEST_F(MapiMailerTest, HandsTheMessageOverWithOneBlankPerFile)
{
    MailProgramFolder program(Program::Runnable);
    RecordingMailLauncher launcher(0);
    const QString document = Write(QStringLiteral("Report.wvd"));
    const QString image = Write(QStringLiteral("logo.bmp"));
    MapiMailer mailer;
    EXPECT_EQ(mailer.GetState(), MapiMailer::Usable);
    mailer.SetSubject(QStringLiteral("Qorvane WVD File"));
    mailer.SetNoteText(QStringLiteral("See:"));
    EXPECT_TRUE(mailer.AddAttachment(document, QStringLiteral("Report.wvd"), FALSE));
    // An element without a file hands an empty path: left out, no blank.
    EXPECT_TRUE(mailer.AddAttachment(QString(), QString(), FALSE));
    EXPECT_TRUE(mailer.AddAttachment(image, QString(), FALSE));
    EXPECT_TRUE(mailer.AddSupportRecipient());
    EXPECT_TRUE(mailer.Send());

    ASSERT_EQ(launcher.calls.size(), 1u);
    EXPECT_EQ(launcher.calls[0].program, program.ProgramPath());
    EXPECT_EQ(launcher.calls[0].arguments,
              QStringList({"--utf8", "--subject", "Qorvane WVD File", "--body", "See:  ", "--attach", document,
                           "--attach", image, "support@qorvane.example"}));
    EXPECT_TRUE(prompts.Texts().isEmpty());
}

TEST_F(MapiMailerTest, TheSupportAddressIsAPreference)
{
    SetSupportAddress(QStringLiteral("help@example.org"));
    EXPECT_EQ(MapiMailer::SupportAddress(), QStringLiteral("help@example.org"));
    SetSupportAddress(QString());
    EXPECT_EQ(MapiMailer::SupportAddress(), QStringLiteral("support@qorvane.example"));
}

TEST_F(MapiMailerTest, ARefusedHandOverIsReported)
{
    MailProgramFolder program(Program::Runnable);
    RecordingMailLauncher launcher(1);
    MapiMailer mailer;
    mailer.AddAttachment(Write(QStringLiteral("a.wvd")), QString(), FALSE);
    EXPECT_FALSE(mailer.Send());
    EXPECT_EQ(prompts.Texts(), QStringList{QStringLiteral("Send Mail failed to send message.")});
}

TEST_F(MapiMailerTest, WithoutAMailProgramItSaysSoAndSendsNothing)
{
    struct Case
    {
        const char* name;
        Program program;
        int state;
        const char* message;
    };
    const Case cases[] = {
        {"no program", Program::None, MapiMailer::NotLoaded, "Unable to load mail system support."},
        {"program that may not be run", Program::NotRunnable, MapiMailer::InvalidLoad, "Mail system DLL is invalid."},
    };
    for (const Case& c : cases) {
        prompts.Renew();
        MailProgramFolder program(c.program);
        RecordingMailLauncher launcher(0);
        EXPECT_FALSE(MapiMailer::IsMapiAvailable()) << c.name;
        MapiMailer mailer;
        EXPECT_EQ(mailer.GetState(), c.state) << c.name;
        EXPECT_EQ(prompts.Texts(), QStringList{QString::fromUtf8(c.message)}) << c.name;
        mailer.AddAttachment(Write(QStringLiteral("a.wvd")), QString(), FALSE);
        EXPECT_FALSE(mailer.Send()) << c.name;
        EXPECT_TRUE(launcher.calls.empty()) << c.name;
    }
}

// A temporary copy is for the mail program: it stays once the program has
// it, and goes with the mailer when the message never got there.
TEST_F(MapiMailerTest, TemporaryFilesStayOnlyForAMailHandedOver)
{
    MailProgramFolder program(Program::Runnable);
    for (const int status : {0, 1}) {
        RecordingMailLauncher launcher(status);
        const QString copy = Write(QStringLiteral("copy.wvd"));
        const QString own = Write(QStringLiteral("own.wvd"));
        {
            MapiMailer mailer;
            mailer.AddAttachment(copy, QString(), TRUE);
            mailer.AddAttachment(own, QString(), FALSE);
            EXPECT_EQ(mailer.Send(), status == 0 ? TRUE : FALSE);
        }
        EXPECT_EQ(QFileInfo::exists(copy), status == 0) << status;
        EXPECT_TRUE(QFileInfo::exists(own)) << status;
    }
}

} // namespace
