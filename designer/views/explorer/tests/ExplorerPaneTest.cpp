// The explorer pane on the fixture Loop {Source, Conditional {Variable}},
// Output {Address}, Text, shown offscreen with a frame that records what the
// pane asks of it. Document hints reach the pane as the main frame passes
// them on.

#include "designer/views/explorer/ExplorerPane.h"
#include "designer/commands/CommandIds.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/document/ServerItem.h"
#include "designer/document/TreeState.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/explorer/ExplorerIcons.h"
#include "tests/support/ExplorerDocFixture.h"
#include "tests/support/FakeExplorerTree.h"
#include "tests/support/QtApplicationEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QToolBar>

#include <functional>
#include <ostream>
#include <set>

namespace {

// What the pane asked of its frame.
class ExplorerFrame : public IDesignFrame
{
public:
    bool sheetShown = false;
    int sheetRefreshes = 0;
    std::vector<CFormElement*> sheetElements;
    std::vector<UINT> commands;

    int GetCurrentTool() const override { return DrawingTool::Select; }
    void ResetToolUnlessLocked() override {}
    CFormElement* GetAnchorElement() const override { return nullptr; }
    void NotifyExplorer(CObject*, LPARAM) override {}
    void SetPropertySheetElement(CFormElement* element) override { sheetElements.push_back(element); }
    BOOL IsPropertySheetShown() const override { return sheetShown; }
    void ShowPropertySheet() override { sheetShown = true; }
    void RefreshPropertySheet() override { ++sheetRefreshes; }
    BOOL ExecuteCommand(UINT id) override
    {
        commands.push_back(id);
        return FALSE;
    }
    std::optional<kwvd::RegistryKey> OpenLayoutKey(const QString&, bool) override { return std::nullopt; }
    void OnPaneActivated(CDesignView*) override {}
};

// The frame window: counts "WM_ACTIVATE_PROPERTIES_SHEET".
class FrameWindow : public QWidget
{
public:
    int activations = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == RegisteredMessages::ActivatePropertiesSheet()) {
            ++activations;
            return true;
        }
        return QWidget::event(e);
    }
};

// Passes every document hint on to the pane, as the main frame does.
class HintForwarder : public DocumentChangeListener
{
public:
    CExplorerPane* pane = nullptr;
    void OnDocumentChanged(LPARAM hint, CObject*, CObject* element) override
    {
        if (pane != nullptr)
            pane->OnDocumentHint(element, hint);
    }
};

// One line of a tree in pre-order: depth, label and element.
struct Row
{
    int depth = 0;
    QString text;
    CFormElement* element = nullptr;

    bool operator==(const Row&) const = default;
};

void PrintTo(const Row& row, std::ostream* os)
{
    *os << std::string(size_t(row.depth) * 2, ' ') << row.text.toStdString();
}

void CollectRows(const IExplorerTree& tree, TreeItem item, int depth, std::vector<Row>& rows,
                 const std::function<QString(TreeItem)>& text)
{
    for (; item != nullptr; item = tree.GetNextSiblingItem(item)) {
        rows.push_back({depth, text(item), tree.GetItemElement(item)});
        CollectRows(tree, tree.GetChildItem(item), depth + 1, rows, text);
    }
}

std::vector<Row> RowsOf(const CExplorerTreeCtrl& tree)
{
    std::vector<Row> rows;
    CollectRows(tree, tree.GetRootItem(), 0, rows, [&](TreeItem item) { return tree.GetItemText(item); });
    return rows;
}

std::vector<Row> FreshFill(CDesignerDoc& doc)
{
    FakeExplorerTree fake;
    EXPECT_TRUE(doc.FillExplorerTree(fake));
    std::vector<Row> rows;
    CollectRows(fake, fake.GetRootItem(), 0, rows,
                [&](TreeItem item) { return static_cast<FakeExplorerTree::Node*>(static_cast<void*>(item))->text; });
    return rows;
}

class ExplorerPaneTest : public ExplorerDocFixture
{
protected:
    void SetUp() override
    {
        ExplorerDocFixture::SetUp();
        pane = std::make_unique<CExplorerPane>(&frame, &frameWindow);
        forwarder.pane = pane.get();
        doc->AddChangeListener(&forwarder);
        pane->SetDocument(doc.get());
        pane->resize(300, 400);
        pane->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(pane.get()));
        tree().expandAll();
    }

    void TearDown() override
    {
        if (doc)
            doc->RemoveChangeListener(&forwarder);
        pane.reset();
        ExplorerDocFixture::TearDown();
    }

    CExplorerTreeCtrl& tree() const { return *pane->GetTree(); }
    TreeItem ItemOf(CFormElement* element) const { return pane->FindItem(element); }

    // Selects the element's item as the user's click does.
    void Pick(CFormElement* element)
    {
        TreeItem item = ItemOf(element);
        ASSERT_NE(item, nullptr);
        tree().SelectCaret(item);
    }

    BOOL Run(UINT id) { return pane->OnCmdMsg(id); }
    int UndoSteps() const { return int(doc->GetUndoList().GetCount()); }
    size_t Beeps() const { return environment.prompts->Beeps().size(); }

    ExplorerFrame frame;
    FrameWindow frameWindow;
    HintForwarder forwarder;
    std::unique_ptr<CExplorerPane> pane;
};

// ---------------------------------------------------------------- rows

TEST_F(ExplorerPaneTest, ShowsTheRootAndEveryElementInDocumentOrderWithItsImage)
{
    struct Expected
    {
        int depth;
        const char* text;
        CFormElement* element;
        int image;
    };
    const Expected expected[] = {
        {0, "", nullptr, 1},
        {1, "Loop", e.loop, 2},
        {2, "Source", e.source, 4},
        {2, "Conditional", e.conditional, 3},
        {3, "Variable", e.variable, 10},
        {1, "Output", e.output, 7},
        {2, "Address", e.address, 11},
        {1, "Text", e.text, 6},
    };
    const std::vector<Row> rows = RowsOf(tree());
    ASSERT_EQ(rows.size(), std::size(expected));
    for (size_t i = 0; i < rows.size(); ++i) {
        const QString text = i == 0 ? doc->GetTitle() : QString::fromLatin1(expected[i].text);
        EXPECT_EQ(rows[i], (Row{expected[i].depth, text, expected[i].element})) << "row " << i;
        TreeItem item = rows[i].element != nullptr ? ItemOf(rows[i].element) : tree().GetRootItem();
        EXPECT_EQ(tree().GetItemImage(item), expected[i].image) << expected[i].text;
    }
}

TEST_F(ExplorerPaneTest, TheRootShowsTheClosedImageWhenCollapsed)
{
    TreeItem root = tree().GetRootItem();
    tree().Expand(root, FALSE);
    EXPECT_EQ(tree().GetItemImage(root), 0);
    tree().Expand(root, TRUE);
    EXPECT_EQ(tree().GetItemImage(root), 1);
    // A kind of its own keeps its image either way.
    tree().Expand(ItemOf(e.loop), FALSE);
    EXPECT_EQ(tree().GetItemImage(ItemOf(e.loop)), 2);
}

TEST(ExplorerIcons, EveryKindOfTheTableHasItsOwnImageAndOthersTheFolder)
{
    std::set<int> images;
    for (const ExplorerIconEntry& entry : ExplorerIconTable) {
        EXPECT_EQ(GetElementIcon(entry.type, false), entry.image) << entry.type;
        EXPECT_EQ(GetElementIcon(entry.type, true), entry.image) << entry.type;
        images.insert(entry.image);
    }
    EXPECT_EQ(images.size(), std::size(ExplorerIconTable));
    EXPECT_EQ(GetElementIcon(0, false), 0);
    EXPECT_EQ(GetElementIcon(0, true), 1);
    EXPECT_EQ(GetElementIcon(261, true), 1);
    for (UINT bitmap : {IDB_EXPLORER_IMAGES, IDB_EXPLORER_IMAGES_HC})
        for (int i = 0; i < kExplorerImageCount; ++i) {
            const QImage image = ExplorerImage(bitmap, i).toImage();
            EXPECT_EQ(image.size(), QSize(16, 16)) << bitmap << " image " << i;
            bool drawn = false;
            for (int y = 0; y < 16 && !drawn; ++y)
                for (int x = 0; x < 16 && !drawn; ++x)
                    drawn = qAlpha(image.pixel(x, y)) != 0;
            EXPECT_TRUE(drawn) << bitmap << " image " << i;
        }
}

// ---------------------------------------------------------------- the tree follows the document

struct Operation
{
    const char* name;
    std::function<void(ExplorerDocElements&, CDesignerDoc&, CExplorerPane&)> run;
};

void PrintTo(const Operation& op, std::ostream* os)
{
    *os << op.name;
}

class TreeFollowsDocument : public ExplorerPaneTest, public ::testing::WithParamInterface<Operation>
{};

void PickIn(CExplorerPane& pane, CFormElement* element)
{
    pane.GetTree()->SelectCaret(pane.FindItem(element));
}

const Operation kOperations[] = {
    {"AddWithAnAnchor",
     [](ExplorerDocElements& e, CDesignerDoc& doc, CExplorerPane&) {
         CDocChangeGuard guard(&doc);
         ASSERT_NE(doc.CreateNewElement(FormElementType::Variable, 1, kwvd::Rect(0, 0, 50, 16), e.conditional),
                   nullptr);
     }},
    {"Paste",
     [](ExplorerDocElements& e, CDesignerDoc&, CExplorerPane& pane) {
         PickIn(pane, e.loop);
         pane.OnEditCopy();
         PickIn(pane, e.text);
         pane.OnEditPaste();
     }},
    {"MoveUp",
     [](ExplorerDocElements& e, CDesignerDoc&, CExplorerPane& pane) {
         PickIn(pane, e.conditional);
         pane.OnMoveUp();
     }},
    {"MoveDown",
     [](ExplorerDocElements& e, CDesignerDoc&, CExplorerPane& pane) {
         PickIn(pane, e.loop);
         pane.OnMoveDown();
     }},
    {"DeleteWithChildren",
     [](ExplorerDocElements& e, CDesignerDoc&, CExplorerPane& pane) {
         PickIn(pane, e.loop);
         ASSERT_TRUE(pane.OnCmdMsg(ID_EDIT_CLEAR));
     }},
    {"MoveElementIntoAContainer",
     [](ExplorerDocElements& e, CDesignerDoc& doc, CExplorerPane&) {
         CDocChangeGuard guard(&doc);
         ASSERT_TRUE(doc.MoveElement(e.loop, e.text, 1));
     }},
    {"Rename",
     [](ExplorerDocElements& e, CDesignerDoc&, CExplorerPane& pane) {
         ASSERT_TRUE(pane.GetTree()->EndLabelEdit(pane.FindItem(e.source), QStringLiteral("Renamed")));
     }},
    {"BringToFront",
     [](ExplorerDocElements& e, CDesignerDoc&, CExplorerPane& pane) {
         PickIn(pane, e.loop);
         ASSERT_TRUE(pane.OnCmdMsg(ID_EDIT_BRING_ALL_TO_FRONT));
     }},
    {"Undo",
     [](ExplorerDocElements& e, CDesignerDoc& doc, CExplorerPane& pane) {
         PickIn(pane, e.conditional);
         pane.OnMoveUp();
         doc.OnEditUndo();
     }},
};

TEST_P(TreeFollowsDocument, TheTreeEqualsAFreshFill)
{
    GetParam().run(e, *doc, *pane);
    EXPECT_EQ(RowsOf(tree()), FreshFill(*doc));
}

INSTANTIATE_TEST_SUITE_P(Operations, TreeFollowsDocument, ::testing::ValuesIn(kOperations),
                         [](const ::testing::TestParamInfo<Operation>& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- selection

TEST_F(ExplorerPaneTest, ChoosingAnItemSelectsItsElementAndTellsTheSheet)
{
    Pick(e.loop);
    EXPECT_EQ(pane->GetSelectedElement(), e.loop);
    EXPECT_TRUE(e.loop->IsSelected());
    ASSERT_FALSE(frame.sheetElements.empty());
    EXPECT_EQ(frame.sheetElements.back(), e.loop);

    Pick(e.text);
    EXPECT_FALSE(e.loop->IsSelected());
    EXPECT_TRUE(e.text->IsSelected());
    EXPECT_EQ(frame.sheetElements.back(), e.text);
}

TEST_F(ExplorerPaneTest, ASelectionFromAPaneOnlyRecordsTheElement)
{
    const size_t told = frame.sheetElements.size();
    pane->OnDocumentHint(e.variable, DocumentHint::SelectionChanged);
    EXPECT_EQ(tree().GetCaretItem(), ItemOf(e.variable));
    EXPECT_EQ(pane->GetSelectedElement(), e.variable);
    EXPECT_EQ(frame.sheetElements.size(), told);
    EXPECT_FALSE(e.variable->IsSelected());
    // Without an element nothing changes.
    pane->OnDocumentHint(nullptr, DocumentHint::SelectionChanged);
    EXPECT_EQ(pane->GetSelectedElement(), e.variable);
}

TEST_F(ExplorerPaneTest, NoNotificationWhileUpdatesAreSuppressed)
{
    const size_t told = frame.sheetElements.size();
    doc->SuppressUpdates();
    Pick(e.loop);
    doc->ResumeUpdates();
    EXPECT_EQ(pane->GetSelectedElement(), e.loop);
    EXPECT_EQ(frame.sheetElements.size(), told);
}

TEST_F(ExplorerPaneTest, TheSelectedElementIsForgottenWhenItOrItsContainerGoes)
{
    Pick(e.variable);
    {
        CDocChangeGuard guard(doc.get());
        doc->DeleteElement(e.loop, TRUE);
    }
    EXPECT_EQ(pane->GetSelectedElement(), nullptr);
    EXPECT_EQ(tree().GetCaretItem(), nullptr);
    EXPECT_EQ(RowsOf(tree()), FreshFill(*doc));
    // Commands that need an element are off.
    CCmdUI ui(ID_EDIT_COPY);
    EXPECT_TRUE(pane->OnUpdateCmdUI(ui));
    EXPECT_FALSE(ui.IsEnabled());
}

TEST_F(ExplorerPaneTest, ADoubleClickShowsTheSheetAndLeavesTheExpansion)
{
    TreeItem loop = ItemOf(e.loop);
    ASSERT_TRUE(tree().IsExpanded(loop));
    const QRect where = tree().visualItemRect(CExplorerTreeCtrl::FromItem(loop));
    QTest::mouseDClick(tree().viewport(), Qt::LeftButton, Qt::NoModifier, where.center());
    QApplication::processEvents();
    EXPECT_EQ(frameWindow.activations, 1);
    EXPECT_TRUE(tree().IsExpanded(loop));
    EXPECT_EQ(tree().GetEditControl(), nullptr);

    // Outside the tree, on the pane's own frame line.
    QTest::mouseDClick(pane.get(), Qt::LeftButton, Qt::NoModifier, QPoint(0, pane->height() - 1));
    QApplication::processEvents();
    EXPECT_EQ(frameWindow.activations, 2);
}

// ---------------------------------------------------------------- renaming

TEST_F(ExplorerPaneTest, ARenameKeepsFiftyCharactersInOneUndoStep)
{
    Pick(e.text);
    const int steps = UndoSteps();
    tree().EditLabel(ItemOf(e.text));
    QLineEdit* editor = tree().GetEditControl();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    const QString typed = QString(51, u'n');
    QTest::keyClicks(editor, typed);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the editor commits queued
    EXPECT_EQ(e.text->GetDescription(), typed.left(50));
    EXPECT_EQ(tree().GetItemText(ItemOf(e.text)), typed.left(50));
    EXPECT_FALSE(e.text->IsAutoDescription());
    EXPECT_EQ(UndoSteps(), steps + 1);
}

TEST_F(ExplorerPaneTest, AShownSheetIsRefreshedAfterARename)
{
    frame.sheetShown = true;
    ASSERT_TRUE(tree().EndLabelEdit(ItemOf(e.text), QStringLiteral("Heading")));
    EXPECT_EQ(frame.sheetRefreshes, 1);
    // The same text again is no change.
    const int steps = UndoSteps();
    EXPECT_FALSE(tree().EndLabelEdit(ItemOf(e.text), QStringLiteral("Heading")));
    EXPECT_EQ(frame.sheetRefreshes, 1);
    EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(ExplorerPaneTest, TheRootAndCancelledEditsChangeNothing)
{
    const int steps = UndoSteps();
    TreeItem root = tree().GetRootItem();
    tree().SelectCaret(root);
    tree().EditLabel(root);
    QLineEdit* editor = tree().GetEditControl();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("Other"));
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the editor commits queued
    EXPECT_EQ(tree().GetItemText(root), doc->GetTitle());

    Pick(e.loop);
    tree().EditLabel(ItemOf(e.loop));
    editor = tree().GetEditControl();
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("Other"));
    QTest::keyClick(editor, Qt::Key_Escape);
    QApplication::processEvents();
    EXPECT_EQ(e.loop->GetDescription(), QStringLiteral("Loop"));
    EXPECT_EQ(tree().GetItemText(ItemOf(e.loop)), QStringLiteral("Loop"));
    EXPECT_EQ(UndoSteps(), steps);
}

TEST_F(ExplorerPaneTest, KeysWhileALabelIsEditedNeverReachTheWindowsCommands)
{
    // The pane in a window whose Delete runs the route's Delete, as the
    // frame's accelerator does.
    QWidget host;
    pane->setParent(&host);
    auto* del = new QAction(&host);
    del->setShortcut(QKeySequence(Qt::Key_Delete));
    del->setShortcutContext(Qt::WindowShortcut);
    host.addAction(del);
    int fired = 0;
    QObject::connect(del, &QAction::triggered, [&] {
        ++fired;
        pane->OnCmdMsg(ID_EDIT_CLEAR);
    });
    host.resize(320, 420);
    host.show();
    QApplication::setActiveWindow(&host);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));

    Pick(e.text);
    tree().setFocus();
    tree().EditLabel(ItemOf(e.text));
    QLineEdit* editor = tree().GetEditControl();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    const qsizetype count = doc->GetElementList().GetCount();
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(fired, 0);
    EXPECT_EQ(doc->GetElementList().GetCount(), count);
    QTest::keyClick(editor, Qt::Key_Escape);

    // Without an editor the same key deletes the element.
    tree().setFocus();
    QTest::keyClick(&tree(), Qt::Key_Delete);
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(doc->GetElementList().GetCount(), count - 1);
    pane->setParent(nullptr);
}

// ---------------------------------------------------------------- moves

struct RefusedMove
{
    const char* name;
    UINT command;
    // The element picked first; null picks the root.
    CFormElement* ExplorerDocElements::*picked;
};

void PrintTo(const RefusedMove& move, std::ostream* os)
{
    *os << move.name;
}

class RefusedMoves : public ExplorerPaneTest, public ::testing::WithParamInterface<RefusedMove>
{};

TEST_P(RefusedMoves, BeepOnceAndChangeNothing)
{
    const RefusedMove& move = GetParam();
    if (move.picked != nullptr)
        Pick(e.*move.picked);
    else
        tree().SelectCaret(tree().GetRootItem());
    const std::vector<Row> before = RowsOf(tree());
    const int steps = UndoSteps();
    ASSERT_TRUE(Run(move.command));
    ASSERT_EQ(Beeps(), 1u);
    EXPECT_EQ(environment.prompts->Beeps().front(), UINT(MB_ICONEXCLAMATION));
    EXPECT_EQ(UndoSteps(), steps);
    EXPECT_EQ(RowsOf(tree()), before);
}

const RefusedMove kRefusedMoves[] = {
    {"UpOnAFirstChild", ID_EDIT_MOVE_UP, &ExplorerDocElements::source},
    {"DownOnALastChild", ID_EDIT_MOVE_DOWN, &ExplorerDocElements::conditional},
    {"UpOnTheRoot", ID_EDIT_MOVE_UP, nullptr},
};

INSTANTIATE_TEST_SUITE_P(Explorer, RefusedMoves, ::testing::ValuesIn(kRefusedMoves),
                         [](const ::testing::TestParamInfo<RefusedMove>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(ExplorerPaneTest, MoveUpAndDownSwapSiblingsInOneStepEach)
{
    Pick(e.conditional);
    const int steps = UndoSteps();
    ASSERT_TRUE(Run(ID_EDIT_MOVE_UP));
    EXPECT_EQ(Beeps(), 0u);
    EXPECT_EQ(UndoSteps(), steps + 1);
    EXPECT_EQ(tree().GetChildItem(ItemOf(e.loop)), ItemOf(e.conditional));
    ASSERT_TRUE(Run(ID_EDIT_MOVE_DOWN));
    EXPECT_EQ(tree().GetNextSiblingItem(ItemOf(e.source)), ItemOf(e.conditional));
    EXPECT_EQ(UndoSteps(), steps + 2);
}

// ---------------------------------------------------------------- expand, collapse

TEST_F(ExplorerPaneTest, CollapseAllLeavesTheRootOpenAndExpandBranchOpensEveryLevel)
{
    ASSERT_TRUE(Run(ID_EXPLORER_COLLAPSE_ALL));
    EXPECT_TRUE(tree().IsExpanded(tree().GetRootItem()));
    EXPECT_FALSE(tree().IsExpanded(ItemOf(e.loop)));
    EXPECT_FALSE(tree().IsExpanded(ItemOf(e.conditional)));

    Pick(e.loop);
    ASSERT_TRUE(Run(ID_EXPLORER_EXPAND_BRANCH));
    EXPECT_TRUE(tree().IsExpanded(ItemOf(e.loop)));
    EXPECT_TRUE(tree().IsExpanded(ItemOf(e.conditional)));
    EXPECT_FALSE(tree().IsExpanded(ItemOf(e.output)));

    ASSERT_TRUE(Run(ID_EXPLORER_COLLAPSE_BRANCH));
    EXPECT_FALSE(tree().IsExpanded(ItemOf(e.loop)));
    EXPECT_FALSE(tree().IsExpanded(ItemOf(e.conditional)));

    ASSERT_TRUE(Run(ID_EXPLORER_EXPAND_ALL));
    for (CFormElement* container : {e.loop, e.conditional, e.output})
        EXPECT_TRUE(tree().IsExpanded(ItemOf(container))) << container->GetDescription().toStdString();
    EXPECT_EQ(Beeps(), 0u);
}

TEST_F(ExplorerPaneTest, BranchCommandsWithoutACaretBeep)
{
    tree().SelectCaret(nullptr);
    ASSERT_TRUE(Run(ID_EXPLORER_EXPAND_BRANCH));
    ASSERT_TRUE(Run(ID_EXPLORER_COLLAPSE_BRANCH));
    EXPECT_EQ(Beeps(), 2u);
}

// ---------------------------------------------------------------- commands and clipboard

TEST_F(ExplorerPaneTest, CommandsAreEnabledAsTheirRulesSay)
{
    struct Rule
    {
        UINT id;
        bool withoutSelection;
        bool onTheText; // a selected element without children
        bool onTheLoop;
    };
    const Rule rules[] = {
        {ID_EDIT_COPY, false, true, true},
        {ID_EDIT_CUT, false, true, true},
        {ID_EDIT_CLEAR, false, true, true},
        {ID_EDIT_BRING_TO_FRONT, false, true, true},
        {ID_EDIT_BRING_ALL_TO_FRONT, false, false, true},
        {ID_EDIT_SEND_TO_BACK, false, true, true},
        {ID_EDIT_SEND_ALL_TO_BACK, false, false, true},
        {ID_EDIT_MOVE_UP, false, true, true},
        {ID_EDIT_MOVE_DOWN, false, true, true},
        {ID_EXPLORER_EXPAND_BRANCH, false, true, true},
        {ID_EXPLORER_COLLAPSE_BRANCH, false, true, true},
        {ID_EXPLORER_EXPAND_ALL, true, true, true},
        {ID_EXPLORER_COLLAPSE_ALL, true, true, true},
        {ID_EDIT_PROPERTIES, false, true, true},
        {ID_FILE_PRINT, false, false, false},
        {ID_FILE_PRINT_PREVIEW, false, false, false},
    };
    auto enabled = [&](UINT id) {
        CCmdUI ui(id);
        EXPECT_TRUE(pane->OnUpdateCmdUI(ui)) << id;
        return bool(ui.IsEnabled());
    };
    for (const Rule& rule : rules)
        EXPECT_EQ(enabled(rule.id), rule.withoutSelection) << rule.id;
    Pick(e.text);
    for (const Rule& rule : rules)
        EXPECT_EQ(enabled(rule.id), rule.onTheText) << rule.id;
    Pick(e.loop);
    for (const Rule& rule : rules)
        EXPECT_EQ(enabled(rule.id), rule.onTheLoop) << rule.id;
    // View Properties is the frame's; Find goes to the frame with the
    // pane's document.
    CCmdUI view(ID_EXPLORER_VIEW_PROPERTIES);
    EXPECT_FALSE(pane->OnUpdateCmdUI(view));
    EXPECT_TRUE(enabled(ID_EDIT_FIND));
}

TEST_F(ExplorerPaneTest, CutAndPasteBringsALoopBackWithItsChildren)
{
    Pick(e.loop);
    ASSERT_TRUE(Run(ID_EDIT_CUT));
    EXPECT_EQ(pane->GetSelectedElement(), nullptr);
    EXPECT_FALSE(doc->ContainsElement(e.source));
    ASSERT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(QString::fromLatin1(kDesignerExplFormat)));
    CCmdUI paste(ID_EDIT_PASTE);
    ASSERT_TRUE(pane->OnUpdateCmdUI(paste));
    EXPECT_TRUE(paste.IsEnabled());

    ASSERT_TRUE(Run(ID_EDIT_PASTE));
    CFormElement* loop = pane->GetSelectedElement();
    ASSERT_NE(loop, nullptr);
    EXPECT_EQ(loop->GetType(), FormElementType::Loop);
    EXPECT_EQ(loop->GetDescription(), QStringLiteral("Loop"));
    EXPECT_EQ(tree().GetCaretItem(), ItemOf(loop));
    std::vector<QString> children;
    for (TreeItem child = tree().GetChildItem(ItemOf(loop)); child != nullptr; child = tree().GetNextSiblingItem(child))
        children.push_back(tree().GetItemText(child));
    EXPECT_EQ(children, (std::vector<QString>{QStringLiteral("Source"), QStringLiteral("Conditional")}));
    EXPECT_EQ(RowsOf(tree()), FreshFill(*doc));
    EXPECT_EQ(frame.sheetElements.back(), loop);
}

TEST_F(ExplorerPaneTest, PasteGoesUnderTheSelectedContainer)
{
    Pick(e.text);
    pane->OnEditCopy();
    Pick(e.loop);
    pane->OnEditPaste();
    CFormElement* pasted = pane->GetSelectedElement();
    ASSERT_NE(pasted, nullptr);
    EXPECT_NE(pasted, e.text);
    EXPECT_EQ(pasted->GetParent(), e.loop);
    EXPECT_EQ(RowsOf(tree()), FreshFill(*doc));
}

TEST_F(ExplorerPaneTest, TheContextMenuSelectsTheItemUnderThePointerUnlessAskedByKeyboard)
{
    Pick(e.loop);
    const QRect where = tree().visualItemRect(CExplorerTreeCtrl::FromItem(ItemOf(e.text)));
    const QPoint global = tree().viewport()->mapToGlobal(where.center());
    QMenu* menu = pane->ShowContextMenu(global, true);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(pane->GetSelectedElement(), e.loop);
    menu->close();
    QApplication::processEvents();

    menu = pane->ShowContextMenu(global, false);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(pane->GetSelectedElement(), e.text);
    std::vector<UINT> ids;
    for (QAction* action : menu->actions())
        ids.push_back(action->isSeparator() ? 0 : action->data().toUInt());
    const std::vector<UINT> expected = {ID_EDIT_CUT,
                                        ID_EDIT_COPY,
                                        ID_EDIT_PASTE,
                                        ID_EDIT_CLEAR,
                                        0,
                                        ID_EDIT_BRING_TO_FRONT,
                                        ID_EDIT_BRING_ALL_TO_FRONT,
                                        ID_EDIT_SEND_TO_BACK,
                                        ID_EDIT_SEND_ALL_TO_BACK,
                                        0,
                                        ID_EDIT_MOVE_UP,
                                        ID_EDIT_MOVE_DOWN,
                                        0,
                                        ID_EXPLORER_EXPAND_BRANCH,
                                        ID_EXPLORER_EXPAND_ALL,
                                        ID_EXPLORER_COLLAPSE_BRANCH,
                                        ID_EXPLORER_COLLAPSE_ALL,
                                        0,
                                        ID_EDIT_PROPERTIES};
    EXPECT_EQ(ids, expected);
    // The Text has no children: Bring All to Front is off, Copy on.
    EXPECT_TRUE(menu->actions().at(1)->isEnabled());
    EXPECT_FALSE(menu->actions().at(6)->isEnabled());
    EXPECT_EQ(menu->actions().at(0)->text(), QStringLiteral("Cu&t"));
    // Copy from the menu puts the explorer's item on the clipboard.
    menu->actions().at(1)->trigger();
    EXPECT_TRUE(QGuiApplication::clipboard()->mimeData()->hasFormat(QString::fromLatin1(kDesignerExplFormat)));
    menu->close();
    QApplication::processEvents();
}

// ---------------------------------------------------------------- toolbar and layout

TEST_F(ExplorerPaneTest, TheToolbarHoldsItsButtonsInOrderAndFollowsTheSelection)
{
    std::vector<UINT> ids;
    for (QAction* action : pane->GetToolBar()->actions())
        ids.push_back(action->isSeparator() ? 0 : action->data().toUInt());
    EXPECT_EQ(ids, ExplorerToolBarButtons());
    EXPECT_FALSE(pane->GetToolBar()->isMovable());

    auto action = [&](UINT id) {
        return pane->GetToolBar()->findChild<QAction*>(QStringLiteral("Command-%1").arg(id));
    };
    pane->UpdateToolBar();
    EXPECT_FALSE(action(ID_EDIT_MOVE_UP)->isEnabled());
    EXPECT_TRUE(action(ID_EXPLORER_EXPAND_ALL)->isEnabled());
    Pick(e.conditional);
    pane->UpdateToolBar();
    EXPECT_TRUE(action(ID_EDIT_MOVE_UP)->isEnabled());

    // View Properties goes to the frame.
    action(ID_EXPLORER_VIEW_PROPERTIES)->trigger();
    EXPECT_EQ(frame.commands, (std::vector<UINT>{ID_EXPLORER_VIEW_PROPERTIES}));
}

TEST_F(ExplorerPaneTest, TheTreeSitsOnePixelInsideBelowTheToolbar)
{
    const int bar = pane->GetToolBar()->height();
    EXPECT_EQ(pane->GetToolBar()->geometry(), QRect(0, 0, 300, bar));
    EXPECT_EQ(tree().geometry(), QRect(1, bar + 1, 298, 400 - bar - 2));
    const QImage picture = pane->grab().toImage();
    const QRgb shadow = pane->palette().color(QPalette::Dark).rgb();
    EXPECT_EQ(picture.pixel(0, bar + 5), shadow);
    EXPECT_EQ(picture.pixel(299, bar + 5), shadow);
    EXPECT_EQ(picture.pixel(150, bar), shadow);
}

// ---------------------------------------------------------------- other hints

TEST_F(ExplorerPaneTest, AnUnlistedHintRebuildsTheTreeWithTheRootOpen)
{
    tree().collapseAll();
    pane->OnDocumentHint(nullptr, DocumentHint::PageSetupChanged);
    EXPECT_EQ(pane->GetSelectedElement(), nullptr);
    EXPECT_TRUE(tree().IsExpanded(tree().GetRootItem()));
    EXPECT_FALSE(tree().IsExpanded(ItemOf(e.loop)));
    EXPECT_EQ(RowsOf(tree()), FreshFill(*doc));
    // 248 and 249 leave everything.
    Pick(e.loop);
    pane->OnDocumentHint(nullptr, DocumentHint::SpooledPageChanged);
    pane->OnDocumentHint(nullptr, DocumentHint::OutputViewRefit);
    EXPECT_EQ(pane->GetSelectedElement(), e.loop);
}

TEST_F(ExplorerPaneTest, ARelabelledElementShowsItsNewDescription)
{
    {
        CDocChangeGuard guard(doc.get());
        CFormElement::SetDescription(QStringLiteral("Renamed elsewhere"), e.address);
    }
    EXPECT_EQ(tree().GetItemText(ItemOf(e.address)), QStringLiteral("Renamed elsewhere"));
}

// ---------------------------------------------------------------- tree state across undo

// The look of the tree by paths from the root: the expanded items, the
// caret and the item at the top of the window.
using Path = std::vector<int>;

struct TreeLook
{
    std::vector<Path> expanded;
    Path caret;
    Path top;

    bool operator==(const TreeLook&) const = default;
};

void PrintTo(const TreeLook& look, std::ostream* os)
{
    auto path = [&](const Path& p) {
        *os << "[";
        for (int i : p)
            *os << i << ".";
        *os << "]";
    };
    *os << "expanded ";
    for (const Path& p : look.expanded)
        path(p);
    *os << " caret ";
    path(look.caret);
    *os << " top ";
    path(look.top);
}

Path PathOf(const IExplorerTree& tree, TreeItem item)
{
    Path path;
    for (; item != nullptr; item = tree.GetParentItem(item)) {
        int position = 0;
        for (TreeItem at = tree.GetPrevSiblingItem(item); at != nullptr; at = tree.GetPrevSiblingItem(at))
            ++position;
        path.insert(path.begin(), position);
    }
    return path;
}

TreeLook LookOf(const CExplorerTreeCtrl& tree)
{
    TreeLook look;
    std::function<void(TreeItem)> walk = [&](TreeItem item) {
        for (; item != nullptr; item = tree.GetNextSiblingItem(item)) {
            if (tree.IsExpanded(item) && tree.GetChildItem(item) != nullptr)
                look.expanded.push_back(PathOf(tree, item));
            walk(tree.GetChildItem(item));
        }
    };
    walk(tree.GetRootItem());
    look.caret = PathOf(tree, tree.GetCaretItem());
    look.top = PathOf(tree, tree.GetFirstVisibleItem());
    return look;
}

struct UndoCase
{
    const char* name;
    // Sets the tree up and makes the change the undo takes back.
    std::function<void(ExplorerDocElements&, CDesignerDoc&, CExplorerPane&)> change;
    // What the look is expected to be after the undo, from the look before
    // the change; null: the same look.
    std::function<TreeLook(const TreeLook&)> expected;
};

void PrintTo(const UndoCase& c, std::ostream* os)
{
    *os << c.name;
}

class TreeStateAcrossUndo : public ExplorerPaneTest, public ::testing::WithParamInterface<UndoCase>
{};

const UndoCase kUndoCases[] = {
    {"PropertyChangeAfterAChildWasAddedIntoALoop",
     [](ExplorerDocElements& e, CDesignerDoc& doc, CExplorerPane& pane) {
         {
             CDocChangeGuard guard(&doc);
             ASSERT_NE(doc.CreateNewElement(FormElementType::Variable, 1, kwvd::Rect(0, 0, 50, 16), e.loop), nullptr);
         }
         CExplorerTreeCtrl& tree = *pane.GetTree();
         tree.expandAll();
         tree.Expand(pane.FindItem(e.output), FALSE);
         tree.Expand(pane.FindItem(e.conditional), FALSE);
         PickIn(pane, e.source);
         tree.SetFirstVisible(pane.FindItem(e.loop));
         ASSERT_TRUE(tree.EndLabelEdit(pane.FindItem(e.text), QStringLiteral("Heading")));
     },
     nullptr},
    {"UndoThatRemovesElements",
     [](ExplorerDocElements& e, CDesignerDoc& doc, CExplorerPane& pane) {
         CExplorerTreeCtrl& tree = *pane.GetTree();
         tree.Expand(pane.FindItem(e.output), FALSE);
         PickIn(pane, e.text);
         CDocChangeGuard guard(&doc);
         ASSERT_NE(doc.CreateNewElement(FormElementType::Variable, 1, kwvd::Rect(0, 0, 50, 16), e.conditional),
                   nullptr);
         ASSERT_NE(doc.CreateNewElement(FormElementType::Variable, 1, kwvd::Rect(0, 0, 50, 16), nullptr), nullptr);
     },
     nullptr},
    {"TheRootSelected",
     [](ExplorerDocElements& e, CDesignerDoc&, CExplorerPane& pane) {
         CExplorerTreeCtrl& tree = *pane.GetTree();
         tree.SelectCaret(tree.GetRootItem());
         ASSERT_TRUE(tree.EndLabelEdit(pane.FindItem(e.text), QStringLiteral("Heading")));
     },
     // No caret is set by the state.
     [](const TreeLook& before) {
         TreeLook after = before;
         after.caret.clear();
         return after;
     }},
};

TEST_P(TreeStateAcrossUndo, TheTreeLooksAsBefore)
{
    pane->resize(300, 150);
    QApplication::processEvents();
    const UndoCase& c = GetParam();
    c.change(e, *doc, *pane);
    const TreeLook before = LookOf(tree());
    ASSERT_TRUE(doc->CanUndo());
    doc->OnEditUndo();
    EXPECT_EQ(LookOf(tree()), c.expected ? c.expected(before) : before);
    EXPECT_EQ(RowsOf(tree()), FreshFill(*doc));
    // The pane never keeps an element of the document before the restore.
    CFormElement* selected = pane->GetSelectedElement();
    EXPECT_TRUE(selected == nullptr || doc->ContainsElement(selected));
}

INSTANTIATE_TEST_SUITE_P(Explorer, TreeStateAcrossUndo, ::testing::ValuesIn(kUndoCases),
                         [](const ::testing::TestParamInfo<UndoCase>& info) { return std::string(info.param.name); });

TEST_F(ExplorerPaneTest, AnEmptyStateLeavesTheTopWhereTheRebuildPutIt)
{
    CTreeState state(doc.get());
    pane->OnDocumentHint(&state, DocumentHint::RestoreEnds);
    EXPECT_EQ(tree().GetFirstVisibleItem(), tree().GetRootItem());
    EXPECT_EQ(tree().GetCaretItem(), nullptr);
    EXPECT_EQ(RowsOf(tree()), FreshFill(*doc));
}

} // namespace
