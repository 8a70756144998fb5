// The explorer pane in the program: made by the program, docked in the main
// frame, the anchor of what the panes draw, the route of its commands, and
// a picture of the main window with the explorer showing the fixture
// Loop {Source, Conditional {Variable}}, Output {Address}, Text.

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "designer/views/DDestView.h"
#include "designer/views/explorer/ExplorerPane.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDockWidget>
#include <QImage>
#include <QLineEdit>
#include <QTest>

#include <set>

namespace {

std::set<CFormElement*> Elements(const CDesignerDoc& doc)
{
    std::set<CFormElement*> set;
    for (CObject* object : doc.GetElementList())
        set.insert(static_cast<CFormElement*>(object));
    return set;
}

CFormElement* NewElement(const CDesignerDoc& doc, const std::set<CFormElement*>& before)
{
    CFormElement* found = nullptr;
    for (CFormElement* element : Elements(doc))
        if (before.count(element) == 0)
            found = element;
    return found;
}

class ExplorerInProgram : public ProgramTest
{
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        explorer = dynamic_cast<CExplorerPane*>(frame->GetExplorerPane());
        ASSERT_NE(explorer, nullptr);
        output = dynamic_cast<CDDestView*>(frame->GetPaneView(1));
        ASSERT_NE(output, nullptr);
        ASSERT_NO_FATAL_FAILURE(BuildFixture());
    }

    CFormElement* Create(int type, int side, const kwvd::Rect& rect, CFormElement* anchor, const char* description)
    {
        CFormElement* element = doc->CreateNewElement(type, side, rect, anchor);
        EXPECT_NE(element, nullptr) << description;
        if (element != nullptr) {
            element->SetAutoDescription(FALSE);
            CFormElement::SetDescription(QString::fromLatin1(description), element);
        }
        return element;
    }

    void BuildFixture()
    {
        CDocChangeGuard guard(doc);
        for (CObject* object : doc->GetElementList())
            if (auto* element = static_cast<CFormElement*>(object); element->GetType() == FormElementType::Output)
                outputElement = element;
        ASSERT_NE(outputElement, nullptr);
        outputElement->SetAutoDescription(FALSE);
        CFormElement::SetDescription(QStringLiteral("Output"), outputElement);
        loop = Create(FormElementType::Loop, 1, kwvd::Rect(0, 64, 800, 176), nullptr, "Loop");
        ASSERT_NE(loop, nullptr);
        source = Create(FormElementType::Source, 1, kwvd::Rect(10, 80, 290, 96), loop, "Source");
        conditional = Create(FormElementType::Conditional, 1, kwvd::Rect(20, 112, 80, 128), loop, "Conditional");
        ASSERT_NE(conditional, nullptr);
        variable = Create(FormElementType::Variable, 1, kwvd::Rect(90, 112, 190, 128), conditional, "Variable");
        address = Create(FormElementType::Address, 1, kwvd::Rect(0, 304, 290, 368), outputElement, "Address");
        text = Create(FormElementType::Text, 2, kwvd::Rect(0, 464, 90, 480), nullptr, "Text");
        ASSERT_NE(text, nullptr);
        ASSERT_TRUE(doc->MoveElement(outputElement, text, 3));
        for (CObject* object : doc->GetElementList())
            static_cast<CFormElement*>(object)->Select(FALSE);
    }

    CExplorerTreeCtrl& Tree() const { return *explorer->GetTree(); }
    void Pick(CFormElement* element)
    {
        Tree().setFocus();
        Tree().SelectCaret(explorer->FindItem(element));
    }

    CExplorerPane* explorer = nullptr;
    CDDestView* output = nullptr;
    CFormElement* outputElement = nullptr;
    CFormElement* loop = nullptr;
    CFormElement* source = nullptr;
    CFormElement* conditional = nullptr;
    CFormElement* variable = nullptr;
    CFormElement* address = nullptr;
    CFormElement* text = nullptr;
};

TEST_F(ExplorerInProgram, TheProgramDocksTheExplorerAndEnablesItsWindowCommand)
{
    EXPECT_EQ(frame->GetExplorerDock()->widget(), explorer);
    EXPECT_TRUE(frame->GetExplorerDock()->isVisible());
    EXPECT_EQ(frame->dockWidgetArea(frame->GetExplorerDock()), Qt::LeftDockWidgetArea);
    const CCmdUI ui = frame->Router().Query(ID_VIEW_EXPLORER);
    EXPECT_TRUE(ui.IsEnabled());
    EXPECT_EQ(ui.GetCheck().value_or(-1), 1);
    EXPECT_EQ(explorer->GetDocument(), doc);
}

TEST_F(ExplorerInProgram, TheSelectedElementIsTheAnchorOfAnElementDrawnInTheOutputPane)
{
    Pick(loop);
    EXPECT_EQ(frame->GetAnchorElement(), loop);
    const std::set<CFormElement*> before = Elements(*doc);
    output->setFocus();
    ASSERT_NE(output->CreateElementAt(FormElementType::Conditional, nullptr), nullptr);
    CFormElement* made = NewElement(*doc, before);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetParent(), loop);
    // The new element is the pane's selection, and the explorer's too.
    EXPECT_EQ(frame->GetAnchorElement(), made);
    EXPECT_EQ(Tree().GetCaretItem(), explorer->FindItem(made));
}

TEST_F(ExplorerInProgram, CommandsGoToTheExplorerWhileItHasTheFocus)
{
    Pick(conditional);
    ASSERT_TRUE(Tree().hasFocus() || QApplication::focusWidget() == &Tree());
    EXPECT_TRUE(frame->Router().Query(ID_EDIT_MOVE_UP).IsEnabled());
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_MOVE_UP));
    EXPECT_EQ(Tree().GetChildItem(explorer->FindItem(loop)), explorer->FindItem(conditional));
    EXPECT_FALSE(frame->Router().Query(ID_FILE_PRINT).IsEnabled());
}

TEST_F(ExplorerInProgram, ADoubleClickShowsTheSheetAndLeavesTheExpansion)
{
    Tree().expandAll();
    TreeItem item = explorer->FindItem(loop);
    const QRect where = Tree().visualItemRect(CExplorerTreeCtrl::FromItem(item));
    QTest::mouseDClick(Tree().viewport(), Qt::LeftButton, Qt::NoModifier, where.center());
    QApplication::processEvents();
    EXPECT_TRUE(frame->IsPropertySheetShown());
    EXPECT_TRUE(Tree().IsExpanded(item));
}

TEST_F(ExplorerInProgram, DeletingTheSelectedElementsContainerLeavesNoAnchorBehind)
{
    Pick(variable);
    ASSERT_EQ(frame->GetAnchorElement(), variable);
    {
        CDocChangeGuard guard(doc);
        doc->DeleteElement(loop, TRUE);
    }
    EXPECT_EQ(frame->GetAnchorElement(), nullptr);
    const std::set<CFormElement*> before = Elements(*doc);
    output->setFocus();
    ASSERT_NE(output->CreateElementAt(FormElementType::Conditional, nullptr), nullptr);
    CFormElement* made = NewElement(*doc, before);
    ASSERT_NE(made, nullptr);
    EXPECT_FALSE(made->HasParent());
}

TEST_F(ExplorerInProgram, UndoAndRedoWithAnElementSelected)
{
    Pick(text);
    ASSERT_TRUE(Tree().EndLabelEdit(explorer->FindItem(text), QStringLiteral("Heading")));
    // The restore makes new elements; the caret comes back on the new Text.
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_UNDO));
    CFormElement* anchor = frame->GetAnchorElement();
    ASSERT_NE(anchor, nullptr);
    EXPECT_TRUE(doc->ContainsElement(anchor));
    EXPECT_EQ(anchor->GetDescription(), QStringLiteral("Text"));
    ASSERT_TRUE(frame->ExecuteCommand(ID_EDIT_REDO));
    anchor = frame->GetAnchorElement();
    ASSERT_NE(anchor, nullptr);
    EXPECT_TRUE(doc->ContainsElement(anchor));
    EXPECT_EQ(anchor->GetDescription(), QStringLiteral("Heading"));
    const std::set<CFormElement*> before = Elements(*doc);
    output->setFocus();
    ASSERT_NE(output->CreateElementAt(FormElementType::Conditional, nullptr), nullptr);
    EXPECT_NE(NewElement(*doc, before), nullptr);
}

TEST_F(ExplorerInProgram, PictureOfTheMainWindowWithTheExplorer)
{
    frame->resizeDocks({frame->GetExplorerDock()}, {240}, Qt::Horizontal);
    Tree().expandAll();
    Tree().Expand(explorer->FindItem(outputElement), FALSE);
    Pick(text);
    Tree().EditLabel(explorer->FindItem(text));
    QLineEdit* editor = Tree().GetEditControl();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("Page heading"));
    QApplication::processEvents();
    const QImage shot = frame->grab().toImage();
    ASSERT_FALSE(shot.isNull());
    // The explorer shows its rows: the tree's first row is not blank.
    const QImage treeShot = Tree().viewport()->grab().toImage();
    EXPECT_NE(treeShot.pixelColor(30, 4), treeShot.pixelColor(treeShot.width() - 2, treeShot.height() - 2));
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(KWVD_SCREENSHOT_DIR)));
    EXPECT_TRUE(shot.save(QStringLiteral(KWVD_SCREENSHOT_DIR "/explorer-in-main-window.png")));
}

} // namespace
