#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/MailAttachmentFolder.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "designer/shell/tests/ZipArchiveReader.h"
#include "platform/framework/Exceptions.h"
#include "platform/registry/RegistryStore.h"
#include "tests/support/MailProgramFolder.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QPixmap>

#include <cerrno>
#include <memory>

namespace {

using Program = MailProgramFolder::Program;

// The designer with a mail program of the test's own (or none) and the
// launcher recording what it would have been given.
class MailInProgram : public ProgramTest
{
protected:
    void Start(Program kind = Program::Runnable)
    {
        program = std::make_unique<MailProgramFolder>(kind);
        ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize(), QStringLiteral(KWVD_MERROW2_STUB_DIR)));
        env.prompts->ClearRecorded();
    }

    QString PathIn(const QString& relative) const
    {
        const QString path = env.folder.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        return path;
    }

    QString WriteImage(const QString& relative)
    {
        const QString path = PathIn(relative);
        QImage image(24, 16, QImage::Format_Mono);
        image.fill(1);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    void PlaceImage(const QString& path, int top)
    {
        CDocChangeGuard guard(doc);
        env.prompts->AnswerFile(path);
        EXPECT_NE(doc->CreateNewElement(FormElementType::Image, PaneSide::Output, kwvd::Rect(40, top, 120, top + 40),
                                        nullptr),
                  nullptr);
    }

    void Edit(const QString& description)
    {
        CDocChangeGuard guard(doc);
        doc->Description().SetValue(description);
        doc->SetModifiedFlag(TRUE);
    }

    void SaveAs(const QString& path)
    {
        env.prompts->AnswerFile(path);
        ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SAVE_AS));
        ASSERT_FALSE(doc->IsModified());
        env.prompts->ClearRecorded();
    }

    // The attachments of the one hand-off so far.
    QStringList Attachments() const
    {
        EXPECT_EQ(launcher.calls.size(), 1u);
        QStringList files;
        if (launcher.calls.empty())
            return files;
        const QStringList& arguments = launcher.calls[0].arguments;
        for (qsizetype i = 0; i + 1 < arguments.size(); ++i)
            if (arguments[i] == u"--attach")
                files << arguments[i + 1];
        return files;
    }

    // Every file below the mail attachment folder but the runs' locks.
    QStringList FilesWaitingForMail() const
    {
        QStringList files;
        QDirIterator it(MailAttachmentFolder::Root(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (!file.endsWith(QStringLiteral("lock")))
                files << file;
        }
        return files;
    }

    std::unique_ptr<MailProgramFolder> program;
    RecordingMailLauncher launcher{0};
};

TEST_F(MailInProgram, SendOnASavedDocumentAttachesItsOwnFileAndSavesNothing)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    const QString logo = WriteImage(QStringLiteral("Images/logo.bmp"));
    PlaceImage(logo, 40);
    const QString path = PathIn(QStringLiteral("Docs/invoice.wvd"));
    ASSERT_NO_FATAL_FAILURE(SaveAs(path));
    const QDateTime written = QFileInfo(path).lastModified();

    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SEND_MAIL));
    EXPECT_EQ(Attachments(), QStringList({path, logo}));
    EXPECT_EQ(launcher.calls[0].arguments.mid(0, 3), QStringList({"--utf8", "--body", "  "}));
    EXPECT_EQ(QFileInfo(path).lastModified(), written);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_TRUE(FilesWaitingForMail().isEmpty());
    EXPECT_TRUE(env.MessageTexts().isEmpty()) << env.MessageTexts().join(u'\n').toStdString();
}

TEST_F(MailInProgram, SendOnAModifiedDocumentAttachesACopyAndKeepsItModified)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    const QString path = PathIn(QStringLiteral("Docs/invoice.wvd"));
    Edit(QStringLiteral("as saved"));
    ASSERT_NO_FATAL_FAILURE(SaveAs(path));
    Edit(QStringLiteral("edited since"));
    const qsizetype undoSteps = doc->GetUndoList().GetCount();
    const DWORD buildId = doc->GetBuildId();

    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SEND_MAIL));
    const QStringList attachments = Attachments();
    ASSERT_EQ(attachments.size(), 1);
    const QString copy = attachments[0];
    EXPECT_NE(copy, path);
    EXPECT_EQ(QFileInfo(copy).fileName(), QStringLiteral("invoice.wvd"));
    EXPECT_TRUE(copy.startsWith(MailAttachmentFolder::Root() + u'/'));
    EXPECT_EQ(DescriptionInFile(copy), QStringLiteral("edited since"));
    EXPECT_EQ(DescriptionInFile(path), QStringLiteral("as saved"));
    // Sending is no edit: the document is as modified as before, with no
    // undo step or Build ID of its own.
    EXPECT_TRUE(doc->IsModified());
    EXPECT_EQ(doc->GetPathName(), path);
    EXPECT_EQ(doc->GetUndoList().GetCount(), undoSteps);
    EXPECT_EQ(doc->GetBuildId(), buildId);
    EXPECT_TRUE(env.MessageTexts().isEmpty()) << env.MessageTexts().join(u'\n').toStdString();
}

TEST_F(MailInProgram, AnUntitledDocumentGoesAsItsTitle)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SEND_MAIL));
    const QStringList attachments = Attachments();
    ASSERT_EQ(attachments.size(), 1);
    EXPECT_EQ(QFileInfo(attachments[0]).fileName(), doc->GetTitle() + QStringLiteral(".wvd"));
    EXPECT_TRUE(doc->GetPathName().isEmpty());
}

TEST_F(MailInProgram, SendToTheMakerMailsOneArchiveWithRelativeNames)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    auto& store = kwvd::RegistryStore::Instance();
    const auto key = store.CreateKey(HKEY_CURRENT_USER,
                                     kwvd::ApplicationKeyPath(u"KWVD Designer") + QStringLiteral("\\Preferences"));
    ASSERT_TRUE(key);
    store.WriteValue(*key, QStringLiteral("SupportMailAddress"), kwvd::RegistryValue::Text(u"help@example.org"));

    const QString logo = WriteImage(QStringLiteral("Images/logo.bmp"));
    const QString picture = WriteImage(QStringLiteral("Docs/Sub/picture.bmp"));
    PlaceImage(logo, 40);
    PlaceImage(picture, 100);
    // The same file twice goes in once.
    PlaceImage(logo, 160);
    ASSERT_NO_FATAL_FAILURE(SaveAs(PathIn(QStringLiteral("Docs/invoice.wvd"))));
    Edit(QStringLiteral("for the maker"));

    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SEND_TO_MAKER));
    ASSERT_EQ(launcher.calls.size(), 1u);
    const QStringList attachments = Attachments();
    ASSERT_EQ(attachments.size(), 1);
    const QString archive = attachments[0];
    EXPECT_EQ(launcher.calls[0].arguments, QStringList({"--utf8", "--subject", "Qorvane WVD File", "--body", " ",
                                                        "--attach", archive, "help@example.org"}));
    EXPECT_EQ(QFileInfo(archive).fileName(), QStringLiteral("invoice.zip"));

    const std::vector<ReadEntry> entries = ReadArchive(archive);
    QStringList names;
    for (const ReadEntry& entry : entries)
        names << entry.name;
    EXPECT_EQ(names, QStringList({"invoice.wvd", "../Images/logo.bmp", "Sub/picture.bmp"}));
    // The copy in the archive is the document as it is now; the copy on
    // disk went once it was in.
    ASSERT_FALSE(entries.empty());
    const QString unpacked = PathIn(QStringLiteral("unpacked/invoice.wvd"));
    QFile out(unpacked);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(entries[0].data);
    out.close();
    EXPECT_EQ(DescriptionInFile(unpacked), QStringLiteral("for the maker"));
    EXPECT_EQ(FilesWaitingForMail(), QStringList{archive});
    EXPECT_TRUE(doc->IsModified());

    // The archive waits for the mail program until the designer starts again.
    app->ExitInstance();
    app.reset();
    EXPECT_TRUE(QFileInfo::exists(archive));
    ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize(), QStringLiteral(KWVD_MERROW2_STUB_DIR)));
    EXPECT_FALSE(QFileInfo::exists(archive));
    EXPECT_TRUE(FilesWaitingForMail().isEmpty());
}

TEST_F(MailInProgram, AMailNotTakenLeavesNothingBehind)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    launcher.status = 1;
    Edit(QStringLiteral("modified"));
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SEND_TO_MAKER));
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SEND_MAIL));
    EXPECT_EQ(launcher.calls.size(), 2u);
    EXPECT_EQ(env.MessageTexts(), QStringList(2, QStringLiteral("Send Mail failed to send message.")));
    EXPECT_TRUE(FilesWaitingForMail().isEmpty());
}

TEST_F(MailInProgram, WithoutRoomForTheCopyNothingIsSent)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    // A file where the attachment folder should be.
    const QString root = MailAttachmentFolder::Root();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(root).path()));
    QFile blocker(root);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Edit(QStringLiteral("modified"));
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SEND_MAIL));
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SEND_TO_MAKER));
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_EQ(env.MessageTexts(),
              QStringList(2, QStringLiteral("Encountered an unexpected error while writing %1.").arg(root)));
    EXPECT_TRUE(doc->IsModified());
}

// A failure the commands do not expect ends them; its own report is shown
// only to those who debug.
TEST_F(MailInProgram, AnExceptionEndsTheCommandQuietlyUnlessDebugging)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    kwvd::SetMailLauncher([](const QString&, const QStringList&) -> int {
        AfxThrowFileException(CFileException::hardIO, EIO, QStringLiteral("/dev/mail"));
    });
    const QString report = CFileException(CFileException::hardIO, EIO, QStringLiteral("/dev/mail")).GetErrorMessage();
    for (const BOOL debugging : {FALSE, TRUE}) {
        env.prompts->ClearRecorded();
        app->GetPreferences().EnableDebugServices = debugging;
        ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_SEND_MAIL));
        EXPECT_EQ(env.MessageTexts(), debugging ? QStringList{report} : QStringList()) << debugging;
        EXPECT_TRUE(FilesWaitingForMail().isEmpty()) << debugging;
    }
}

// The File menu from Export to Page Setup, separators as "-".
QStringList SendGroupOfFileMenu(CMainFrame* frame)
{
    QStringList shape;
    bool inGroup = false;
    for (QAction* action : frame->GetMenu(QStringLiteral("File"))->actions()) {
        const UINT id = CommandIdOf(action);
        if (id == ID_FILE_EXPORT_WVD)
            inGroup = true;
        if (inGroup)
            shape << (action->isSeparator() ? QStringLiteral("-") : QString::number(id));
        if (id == ID_FILE_PAGE_SETUP)
            break;
    }
    return shape;
}

TEST_F(MailInProgram, WithoutMailBothCommandsLeaveTheFileMenu)
{
    ASSERT_NO_FATAL_FAILURE(Start(Program::None));
    frame->UpdateCommandUI();
    EXPECT_EQ(SendGroupOfFileMenu(frame), QStringList({"32790", "-", "57605"}));
    EXPECT_FALSE(frame->ExecuteCommand(ID_FILE_SEND_MAIL));
    EXPECT_FALSE(frame->ExecuteCommand(ID_FILE_SEND_TO_MAKER));
    EXPECT_TRUE(launcher.calls.empty());
    EXPECT_EQ(doc->m_mailAvailable, 0);
    EXPECT_TRUE(env.MessageTexts().isEmpty());

    QMenu* file = frame->GetMenu(QStringLiteral("File"));
    file->adjustSize();
    const QPixmap shot = file->grab();
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(shot.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/file-menu-without-mail.png")));
}

TEST_F(MailInProgram, WithMailTheFileMenuKeepsBoth)
{
    ASSERT_NO_FATAL_FAILURE(Start());
    frame->UpdateCommandUI();
    EXPECT_EQ(SendGroupOfFileMenu(frame), QStringList({"32790", "-", "57612", "32791", "-", "57605"}));
    EXPECT_TRUE(frame->GetAction(ID_FILE_SEND_MAIL)->isEnabled());
    EXPECT_EQ(doc->m_mailAvailable, 1);
}

} // namespace
