#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "platform/ui/PromptHelpers.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCryptographicHash>
#include <QFile>
#include <QFileInfo>

#include <ostream>

namespace {

// The designer program in the test's folders, with the host access library
// of the tests so that start-up asks nothing.
class SaveAndCloseTest : public ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize(), QStringLiteral(KWVD_MERROW2_STUB_DIR)));
        env.prompts->ClearRecorded();
    }

    CDesignerDoc* Doc() const { return app->GetDocument(); }

    QString PathIn(const QString& name) const { return env.folder.filePath(name); }

    // A change as every command makes one: inside a transaction.
    void Edit(const QString& description)
    {
        CDocChangeGuard guard(Doc());
        Doc()->Description().SetValue(description);
        Doc()->SetModifiedFlag(TRUE);
    }

    // A saved document with one edit, opened from its file and edited again.
    QString SavedAndEdited(const QString& saved, const QString& edited)
    {
        const QString path = PathIn(QStringLiteral("invoice.wvd"));
        Edit(saved);
        env.prompts->AnswerFile(path);
        EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_SAVE_AS));
        EXPECT_TRUE(QFileInfo::exists(path));
        Edit(edited);
        EXPECT_TRUE(Doc()->IsModified());
        env.prompts->ClearRecorded();
        return path;
    }

    static QByteArray Digest(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
    }
};

enum class CloseWay {
    CloseBox,
    ExitCommand
};

struct CloseCase
{
    const char* name;
    CloseWay way;
    int answer; // to "Save changes to ...?"
    bool windowStays;
    const char* inFile; // the description the file holds afterwards
};

void PrintTo(const CloseCase& c, std::ostream* os)
{
    *os << c.name;
}

class CloseQuestion : public SaveAndCloseTest, public ::testing::WithParamInterface<CloseCase>
{};

// However the window is closed, a modified document is asked about: Cancel
// keeps everything, No closes without writing, Yes writes and closes.
TEST_P(CloseQuestion, AsksBeforeAModifiedDocumentGoes)
{
    const CloseCase& c = GetParam();
    const QString path = SavedAndEdited(QStringLiteral("Saved"), QStringLiteral("Edited"));
    const QByteArray before = Digest(path);

    env.prompts->AnswerMessageBox(c.answer);
    if (c.way == CloseWay::CloseBox)
        frame->close();
    else
        EXPECT_TRUE(frame->ExecuteCommand(ID_APP_EXIT));

    ASSERT_EQ(env.MessageTexts(), QStringList{QStringLiteral("Save changes to invoice.wvd?")}) << c.name;
    EXPECT_EQ(frame->isVisible(), c.windowStays) << c.name;
    if (c.windowStays) {
        EXPECT_TRUE(Doc()->IsModified()) << c.name;
        EXPECT_EQ(Doc()->Description().GetValue(), QStringLiteral("Edited")) << c.name;
    }
    if (c.answer == IDNO || c.answer == IDCANCEL) {
        EXPECT_EQ(Digest(path), before) << c.name;
    }
    app->ExitInstance();
    EXPECT_EQ(DescriptionInFile(path), QString::fromLatin1(c.inFile)) << c.name;
}

const CloseCase kCloseCases[] = {
    {"CloseBoxCancelKeepsWindowAndDocument", CloseWay::CloseBox, IDCANCEL, true, "Saved"},
    {"CloseBoxNoClosesWithoutWriting", CloseWay::CloseBox, IDNO, false, "Saved"},
    {"CloseBoxYesWritesTheEdit", CloseWay::CloseBox, IDYES, false, "Edited"},
    {"ExitCancelKeepsWindowAndDocument", CloseWay::ExitCommand, IDCANCEL, true, "Saved"},
    {"ExitNoClosesWithoutWriting", CloseWay::ExitCommand, IDNO, false, "Saved"},
    {"ExitYesWritesTheEdit", CloseWay::ExitCommand, IDYES, false, "Edited"},
};

INSTANTIATE_TEST_SUITE_P(Ways, CloseQuestion, ::testing::ValuesIn(kCloseCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaveAndCloseTest, AnUnmodifiedDocumentClosesWithoutAQuestion)
{
    frame->close();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_TRUE(env.MessageTexts().isEmpty());
}

TEST_F(SaveAndCloseTest, YesWhoseSaveFailsKeepsTheWindow)
{
    // An untitled document: Yes brings the save chooser, which is cancelled.
    Edit(QStringLiteral("Edited"));
    env.prompts->AnswerMessageBox(IDYES);
    env.prompts->AnswerFiles({});
    frame->close();
    EXPECT_TRUE(frame->isVisible());
    EXPECT_TRUE(Doc()->IsModified());
}

TEST_F(SaveAndCloseTest, SaveWritesToTheDocumentsFileAndIsOnlyOnWhenModified)
{
    const QString path = SavedAndEdited(QStringLiteral("Saved"), QStringLiteral("Edited"));
    ASSERT_NE(frame->GetAction(ID_FILE_SAVE), nullptr);
    frame->UpdateCommandUI();
    EXPECT_TRUE(frame->GetAction(ID_FILE_SAVE)->isEnabled());

    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_SAVE));
    EXPECT_FALSE(Doc()->IsModified());
    EXPECT_TRUE(env.MessageTexts().isEmpty());
    EXPECT_FALSE(frame->GetAction(ID_FILE_SAVE)->isEnabled());
    EXPECT_EQ(DescriptionInFile(path), QStringLiteral("Edited"));
}

TEST_F(SaveAndCloseTest, CtrlSCarriesTheSaveCommand)
{
    ASSERT_NE(frame->GetAction(ID_FILE_SAVE), nullptr);
    EXPECT_EQ(frame->GetAction(ID_FILE_SAVE)->shortcut(), QKeySequence(QStringLiteral("Ctrl+S")));
}

TEST_F(SaveAndCloseTest, SaveAsProposesThePlainTitleAndTakesTheNewPath)
{
    const QString first = SavedAndEdited(QStringLiteral("Saved"), QStringLiteral("Edited"));
    const QString second = PathIn(QStringLiteral("copy.wvd"));
    env.prompts->AnswerFile(second);
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_SAVE_AS));

    ASSERT_EQ(env.prompts->Recorded().size(), 1u);
    const RecordedPrompt& chooser = env.prompts->Recorded().front();
    EXPECT_EQ(chooser.kind, PromptKind::SaveFile);
    // No modified mark in the proposed name; the template's filter.
    EXPECT_EQ(chooser.file.fileName, QStringLiteral("invoice.wvd"));
    EXPECT_TRUE(chooser.file.filter.contains(QStringLiteral("*.WVD"))) << chooser.file.filter.toStdString();

    EXPECT_EQ(QFileInfo(Doc()->GetPathName()), QFileInfo(second));
    EXPECT_EQ(Doc()->GetTitle(), QStringLiteral("copy.wvd"));
    EXPECT_EQ(DescriptionInFile(second), QStringLiteral("Edited"));
    EXPECT_EQ(DescriptionInFile(first), QStringLiteral("Saved"));
}

TEST_F(SaveAndCloseTest, CaptionShowsTheTitleAndTheModifiedMark)
{
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("WVD - KWVD Designer"));
    const QString path = SavedAndEdited(QStringLiteral("Saved"), QStringLiteral("Edited"));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("invoice.wvd * - KWVD Designer"));
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_SAVE));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("invoice.wvd - KWVD Designer"));
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_NEW));
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("WVD - KWVD Designer"));
    EXPECT_NE(app->OpenDocumentFile(path), nullptr);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("invoice.wvd - KWVD Designer"));
}

} // namespace
