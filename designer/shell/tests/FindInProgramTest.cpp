// Find and replace in the program: the dialog the frame makes on first use
// (from its menu or from the explorer), a hit shown as the selection of the
// explorer and the property sheet, the frame's document notices keeping the
// dialog clear of removed elements (delete, undo, new, a JVX import), and a
// picture of the dialog over the main window with its hit selected.

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "designer/views/explorer/ExplorerPane.h"
#include "designer/views/find/FindReplaceDlg.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FindInProgram : public ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        explorer = dynamic_cast<CExplorerPane*>(frame->GetExplorerPane());
        ASSERT_NE(explorer, nullptr);
        ASSERT_NO_FATAL_FAILURE(BuildFixture());
    }

    CFormElement* Create(int type, const kwvd::Rect& rect, CFormElement* anchor, const char* description)
    {
        CFormElement* element = doc->CreateNewElement(type, 1, rect, anchor);
        EXPECT_NE(element, nullptr) << description;
        if (element != nullptr) {
            element->SetAutoDescription(FALSE);
            CFormElement::SetDescription(QString::fromLatin1(description), element);
        }
        return element;
    }

    // Loop {Source, Conditional {Variable}} and a Text.
    void BuildFixture()
    {
        CDocChangeGuard guard(doc);
        loop = Create(FormElementType::Loop, kwvd::Rect(0, 64, 800, 176), nullptr, "Loop");
        ASSERT_NE(loop, nullptr);
        source = Create(FormElementType::Source, kwvd::Rect(10, 80, 290, 96), loop, "Source");
        conditional = Create(FormElementType::Conditional, kwvd::Rect(20, 112, 80, 128), loop, "Conditional");
        ASSERT_NE(conditional, nullptr);
        variable = Create(FormElementType::Variable, kwvd::Rect(90, 112, 190, 128), conditional, "Variable");
        text = Create(FormElementType::Text, kwvd::Rect(0, 464, 90, 480), nullptr, "Text");
        ASSERT_NE(text, nullptr);
        for (CObject* object : doc->GetElementList())
            static_cast<CFormElement*>(object)->Select(FALSE);
    }

    CFindReplaceDlg* ShowFind()
    {
        EXPECT_TRUE(frame->ExecuteCommand(ID_EDIT_FIND));
        return dynamic_cast<CFindReplaceDlg*>(frame->FindDialog());
    }

    void Click(CFindReplaceDlg* dialog, int id) { QTest::mouseClick(dialog->Button(id), Qt::LeftButton); }

    // Every element the dialog holds is one the document lists.
    void ExpectOnlyListedElements(CFindReplaceDlg* dialog, const char* when)
    {
        const CFindReplaceSearch& search = dialog->Search();
        for (CFormElement* element : search.GetElementList())
            EXPECT_TRUE(doc->ContainsElement(element)) << when;
        if (search.GetCurrentElement() != nullptr) {
            EXPECT_TRUE(doc->ContainsElement(search.GetCurrentElement())) << when;
        }
    }

    CExplorerPane* explorer = nullptr;
    CFormElement* loop = nullptr;
    CFormElement* source = nullptr;
    CFormElement* conditional = nullptr;
    CFormElement* variable = nullptr;
    CFormElement* text = nullptr;
};

TEST_F(FindInProgram, TheFrameMakesOneDialogAndKeepsIt)
{
    EXPECT_TRUE(frame->Router().Query(ID_EDIT_FIND).IsEnabled());
    EXPECT_EQ(frame->FindDialog(), nullptr);
    CFindReplaceDlg* dialog = ShowFind();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Search().GetDocument(), doc);
    EXPECT_EQ(dialog->parentWidget(), frame);
    Click(dialog, CFindReplaceDlg::ID_CANCEL);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(ShowFind(), dialog);
    EXPECT_TRUE(dialog->isVisible());
}

TEST_F(FindInProgram, TheExplorersFindCommandShowsTheDialogOnItsDocument)
{
    // The pane runs the command itself; whether it is enabled is the frame's.
    explorer->GetTree()->setFocus();
    EXPECT_TRUE(frame->Router().Query(ID_EDIT_FIND).IsEnabled());
    EXPECT_TRUE(explorer->OnCmdMsg(ID_EDIT_FIND));
    auto* dialog = dynamic_cast<CFindReplaceDlg*>(frame->FindDialog());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->Search().GetDocument(), doc);
}

TEST_F(FindInProgram, AHitIsTheSelectionOfTheExplorerAndTheSheet)
{
    CFindReplaceDlg* dialog = ShowFind();
    ASSERT_NE(dialog, nullptr);
    dialog->FindEdit()->setText(QStringLiteral("Variable"));
    Click(dialog, CFindReplaceDlg::ID_FIND_NEXT);
    EXPECT_EQ(dialog->Search().GetCurrentElement(), variable);
    EXPECT_EQ(explorer->GetSelectedElement(), variable);
    EXPECT_EQ(explorer->GetTree()->GetCaretItem(), explorer->FindItem(variable));
    EXPECT_EQ(frame->GetAnchorElement(), variable);
}

TEST_F(FindInProgram, FindAndReplaceAfterDeletingTheCurrentElementAndItsContainer)
{
    CFindReplaceDlg* dialog = ShowFind();
    ASSERT_NE(dialog, nullptr);
    dialog->FindEdit()->setText(QStringLiteral("Variable"));
    dialog->ReplaceEdit()->setText(QStringLiteral("Value"));
    Click(dialog, CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_EQ(dialog->Search().GetCurrentElement(), variable);
    {
        CDocChangeGuard guard(doc);
        doc->DeleteElement(variable, TRUE);
    }
    EXPECT_EQ(dialog->Search().GetCurrentElement(), nullptr);
    ExpectOnlyListedElements(dialog, "after deleting the current element");
    Click(dialog, CFindReplaceDlg::ID_REPLACE);
    EXPECT_EQ(dialog->Search().GetCurrentElement(), nullptr);

    dialog->FindEdit()->setText(QStringLiteral("Source"));
    dialog->ReplaceEdit()->setText(QStringLiteral("Origin"));
    ShowFind();
    Click(dialog, CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_EQ(dialog->Search().GetCurrentElement(), source);
    {
        CDocChangeGuard guard(doc);
        doc->DeleteElement(loop, TRUE);
    }
    EXPECT_EQ(dialog->Search().GetCurrentElement(), nullptr);
    ExpectOnlyListedElements(dialog, "after deleting the container");
    Click(dialog, CFindReplaceDlg::ID_REPLACE);
    Click(dialog, CFindReplaceDlg::ID_FIND_NEXT);
    ExpectOnlyListedElements(dialog, "after searching again");
}

TEST_F(FindInProgram, FindAndReplaceAfterUndoNewAndAJvxImport)
{
    CFindReplaceDlg* dialog = ShowFind();
    ASSERT_NE(dialog, nullptr);
    dialog->FindEdit()->setText(QStringLiteral("Text"));
    dialog->ReplaceEdit()->setText(QStringLiteral("Line"));
    Click(dialog, CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_EQ(dialog->Search().GetCurrentElement(), text);
    Click(dialog, CFindReplaceDlg::ID_REPLACE);
    ASSERT_EQ(text->GetDescription(), QStringLiteral("Line"));

    // Undo makes every element anew.
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_UNDO));
    EXPECT_EQ(dialog->Search().GetCurrentElement(), nullptr);
    ExpectOnlyListedElements(dialog, "after undo");
    Click(dialog, CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_NE(dialog->Search().GetCurrentElement(), nullptr);
    EXPECT_EQ(dialog->Search().GetCurrentElement()->GetDescription(), QStringLiteral("Text"));
    Click(dialog, CFindReplaceDlg::ID_REPLACE);
    ExpectOnlyListedElements(dialog, "after replacing after undo");

    // A JVX import adds elements and tells the windows with its own hint.
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QString member = QStringLiteral("FINDTEST");
    ASSERT_TRUE(doc->ExportJVXFile(folder.filePath(QStringLiteral("FINDTEST.jvx")), member, 28));
    // The replace's search ended at the end of the elements: start again.
    dialog->FindEdit()->setText(QStringLiteral("Line"));
    env.prompts->AnswerMessageBox(IDYES);
    Click(dialog, CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_NE(dialog->Search().GetCurrentElement(), nullptr);
    const qsizetype before = doc->GetElementList().GetCount();
    {
        CDocChangeGuard guard(doc);
        ASSERT_TRUE(doc->ImportJVXFile(folder.filePath(QStringLiteral("FINDTEST.jvx"))));
        doc->BroadcastHint(DocumentHint::PageSetupChanged, nullptr);
    }
    ASSERT_GT(doc->GetElementList().GetCount(), before);
    EXPECT_EQ(dialog->Search().GetCurrentElement(), nullptr);
    EXPECT_EQ(qsizetype(dialog->Search().GetElementList().size()), doc->GetElementList().GetCount());
    Click(dialog, CFindReplaceDlg::ID_REPLACE);
    ExpectOnlyListedElements(dialog, "after a JVX import");

    // New: the document is emptied and made again.
    Click(dialog, CFindReplaceDlg::ID_FIND_NEXT);
    env.prompts->AnswerMessageBox(IDNO); // do not save the changes
    ASSERT_TRUE(frame->ExecuteCommand(ID_FILE_NEW));
    ASSERT_EQ(app->GetDocument(), doc);
    EXPECT_EQ(dialog->Search().GetCurrentElement(), nullptr);
    ExpectOnlyListedElements(dialog, "after New");
    Click(dialog, CFindReplaceDlg::ID_REPLACE);
    ExpectOnlyListedElements(dialog, "after replacing after New");
}

TEST_F(FindInProgram, PictureOfTheFindDialogOverTheMainWindow)
{
    CFindReplaceDlg* dialog = ShowFind();
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog));
    explorer->GetTree()->expandAll();
    dialog->FindEdit()->setText(QStringLiteral("Cond"));
    dialog->ReplaceEdit()->setText(QStringLiteral("Test"));
    Click(dialog, CFindReplaceDlg::ID_FIND_NEXT);
    ASSERT_EQ(explorer->GetSelectedElement(), conditional);
    QApplication::processEvents();

    QImage shot = frame->grab().toImage();
    const QImage dialogShot = dialog->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    ASSERT_FALSE(dialogShot.isNull());
    // The dialog where a window manager would put it: centred over the frame.
    const QPoint at((shot.width() - dialogShot.width()) / 2, (shot.height() - dialogShot.height()) / 3);
    {
        QPainter painter(&shot);
        painter.drawImage(at, dialogShot);
        painter.setPen(Qt::black);
        painter.drawRect(QRect(at, dialogShot.size()).adjusted(-1, -1, 0, 0));
    }
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(shot.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/find-dialog-over-main-window.png")));
}

} // namespace
