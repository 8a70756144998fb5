// The document base's questions and reports reach the user through the
// installed prompt service.

#include "platform/ui/DocumentPrompts.h"

#include "platform/framework/Document.h"
#include "platform/ui/PromptHelpers.h"
#include "tests/support/ScopedPrompts.h"

#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

class DocumentPromptsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_previousDocument = SetDocumentPrompter(nullptr);
        // The bridge asks whichever prompt service is current when it asks.
        InstallDocumentPrompts();
    }

    void TearDown() override { SetDocumentPrompter(m_previousDocument); }

    ScopedPromptAnswers m_prompts;

private:
    std::shared_ptr<DocumentPrompter> m_previousDocument;
};

struct AnswerCase
{
    const char* name;
    int answer;
    DocumentPrompter::SaveChoice choice;
};

TEST_F(DocumentPromptsTest, SaveQuestionIsAYesNoCancelBoxNamingTheDocument)
{
    const AnswerCase cases[] = {
        {"Yes", IDYES, DocumentPrompter::SaveChoice::Save},
        {"No", IDNO, DocumentPrompter::SaveChoice::Discard},
        {"Cancel", IDCANCEL, DocumentPrompter::SaveChoice::Cancel},
    };
    for (const AnswerCase& c : cases) {
        m_prompts->ClearRecorded();
        m_prompts->AnswerMessageBox(c.answer);

        EXPECT_EQ(DocumentPrompts().AskToSave(QStringLiteral("form.wvd")), c.choice) << c.name;

        ASSERT_EQ(m_prompts->Recorded().size(), 1u) << c.name;
        const RecordedPrompt& box = m_prompts->Recorded()[0];
        EXPECT_EQ(box.text, QStringLiteral("Save changes to form.wvd?")) << c.name;
        EXPECT_EQ(box.Buttons(), MB_YESNOCANCEL) << c.name;
    }
}

TEST_F(DocumentPromptsTest, ReplacingAChangedFileIsAYesNoQuestionNamingTheFile)
{
    struct Case
    {
        const char* name;
        int answer; // 0: none queued, the user backs out
        bool replace;
    };
    const Case cases[] = {{"Yes", IDYES, true}, {"No", IDNO, false}, {"nothing answered", 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        m_prompts->ClearRecorded();
        if (c.answer != 0)
            m_prompts->AnswerMessageBox(c.answer);

        EXPECT_EQ(DocumentPrompts().AskToReplaceChangedFile(QStringLiteral("/forms/form.wvd")), c.replace);

        ASSERT_EQ(m_prompts->Recorded().size(), 1u);
        const RecordedPrompt& box = m_prompts->Recorded()[0];
        EXPECT_EQ(box.text, QStringLiteral("The file /forms/form.wvd was changed by another program since it was "
                                           "opened. Replace it with this document?"));
        EXPECT_EQ(box.Buttons(), MB_YESNO);
        EXPECT_EQ(box.Icon(), MB_ICONEXCLAMATION);
    }
}

TEST_F(DocumentPromptsTest, SaveChooserGetsTheProposedNameAndFileType)
{
    m_prompts->AnswerFile(QStringLiteral("/forms/Invoice.wvd"));

    EXPECT_EQ(DocumentPrompts().ChooseSavePath(QStringLiteral("Invoice.wvd"),
                                               QStringLiteral("WVD Files (*.wvd)|*.wvd||"), QStringLiteral("wvd")),
              QStringLiteral("/forms/Invoice.wvd"));

    ASSERT_EQ(m_prompts->Recorded().size(), 1u);
    const RecordedPrompt& chooser = m_prompts->Recorded()[0];
    EXPECT_EQ(chooser.kind, PromptKind::SaveFile);
    EXPECT_EQ(chooser.file.fileName, QStringLiteral("Invoice.wvd"));
    EXPECT_EQ(chooser.file.filter, QStringLiteral("WVD Files (*.wvd)|*.wvd||"));
    EXPECT_EQ(chooser.file.defaultExtension, QStringLiteral("wvd"));
}

TEST_F(DocumentPromptsTest, AFailedOpenShowsTheExceptionsOwnReport)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("missing.wvd"));
    CDocument doc;

    EXPECT_FALSE(doc.OnOpenDocument(missing));

    ASSERT_EQ(m_prompts->Recorded().size(), 1u);
    const RecordedPrompt& box = m_prompts->Recorded()[0];
    EXPECT_EQ(box.kind, PromptKind::MessageBox);
    EXPECT_EQ(box.text, CFileException(CFileException::fileNotFound, 2, missing).GetErrorMessage());
    EXPECT_EQ(box.Icon(), MB_ICONEXCLAMATION);
}

TEST_F(DocumentPromptsTest, YesOnAnUntitledDocumentSavesWhereTheUserChose)
{
    QTemporaryDir dir;
    const QString chosen = dir.filePath(QStringLiteral("chosen.wvd"));
    CDocument doc;
    doc.OnNewDocument();
    doc.SetModifiedFlag(TRUE);
    m_prompts->AnswerMessageBox(IDYES);
    m_prompts->AnswerFile(chosen);

    EXPECT_TRUE(doc.SaveModified());

    EXPECT_TRUE(QFileInfo(chosen).isFile());
    EXPECT_EQ(doc.GetPathName(), chosen);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(m_prompts->PendingAnswers(), 0);
}

} // namespace
