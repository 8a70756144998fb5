// The explorer's look across undo: the tree state the restore sends with its
// hints, saved from the tree before and applied to the tree filled anew.

#include "designer/document/TreeState.h"
#include "tests/support/ExplorerDocFixture.h"
#include "tests/support/FakeExplorerTree.h"

#include <memory>
#include <string>
#include <vector>

namespace {

std::string Joined(const QStringList& lines)
{
    return lines.join(QLatin1Char('|')).toStdString();
}

// Does with the restore's hints what the explorer pane does: saves the look
// on RestoreBegins, fills the tree anew and applies the look on RestoreEnds.
class TreeStateListener : public DocumentChangeListener
{
public:
    TreeStateListener(CDesignerDoc& doc, FakeExplorerTree& tree) : m_doc(doc), m_tree(tree) {}
    TreeStateListener(const TreeStateListener&) = delete;
    TreeStateListener& operator=(const TreeStateListener&) = delete;

    void OnDocumentChanged(LPARAM hint, CObject*, CObject* object) override
    {
        auto* state = dynamic_cast<CTreeState*>(object);
        if (hint == DocumentHint::RestoreBegins) {
            begins.push_back(state);
            if (state != nullptr)
                state->Save(m_tree);
        } else if (hint == DocumentHint::RestoreEnds) {
            ends.push_back(state);
            m_doc.FillExplorerTree(m_tree);
            if (state != nullptr)
                state->Restore(m_tree);
        }
    }

    std::vector<CTreeState*> begins;
    std::vector<CTreeState*> ends;

private:
    CDesignerDoc& m_doc;
    FakeExplorerTree& m_tree;
};

} // namespace

class TreeStateTest : public ExplorerDocFixture
{
public:
    // For the cases' changes.
    using ExplorerDocFixture::Cells;
    using ExplorerDocFixture::Create;

protected:
    static constexpr int kWindowRows = 4;

    void SetUp() override
    {
        ExplorerDocFixture::SetUp();
        listener = std::make_unique<TreeStateListener>(*doc, tree);
        doc->AddChangeListener(listener.get());
    }

    void TearDown() override
    {
        doc->RemoveChangeListener(listener.get());
        ExplorerDocFixture::TearDown();
    }

    TreeItem ItemOf(const CFormElement* element) const { return tree.FindElementItem(element); }

    QString CaretText() const
    {
        TreeItem caret = tree.GetCaretItem();
        return caret != nullptr ? tree.Text(caret) : QString();
    }

    FakeExplorerTree tree{kWindowRows};
    std::unique_ptr<TreeStateListener> listener;
};

struct TreeStateCase
{
    const char* name;
    // The change that the undo takes back, in a transaction of its own.
    void (*change)(TreeStateTest& test, CDesignerDoc& doc, ExplorerDocElements& e);
    // The look of the tree after the change: expanded items, caret, top.
    void (*look)(FakeExplorerTree& tree, const ExplorerDocElements& e);
    // The tree after the undo, below the root item (expanded "+").
    QStringList lines;
    const char* caret;  // "" for none
    QStringList window; // "#root" stands for the root item's text
};

void PrintTo(const TreeStateCase& c, std::ostream* os)
{
    *os << c.name;
}

class TreeStateUndoTest : public TreeStateTest, public ::testing::WithParamInterface<TreeStateCase>
{};

TEST_P(TreeStateUndoTest, TheLookComesBackOnTheNewTree)
{
    const TreeStateCase& c = GetParam();
    {
        // Added before the look is taken, so the undo keeps it: the restored
        // element list then holds the Loop's children before the Loop.
        CDocChangeGuard guard(doc.get());
        Create(FormElementType::Text, Cells(2, 10, 8, 11), e.loop, QStringLiteral("Child"));
    }
    {
        CDocChangeGuard guard(doc.get());
        c.change(*this, *doc, e);
    }
    ASSERT_TRUE(doc->FillExplorerTree(tree));
    c.look(tree, e);
    tree.redrawLog.clear();
    tree.caretSets = 0;

    doc->OnEditUndo();

    ASSERT_EQ(listener->begins.size(), 1u);
    EXPECT_NE(listener->begins.front(), nullptr) << c.name;
    EXPECT_EQ(listener->ends, listener->begins) << c.name << ": the same state both times";
    const QStringList expected = QStringList{doc->GetTitle() + QStringLiteral(" +")} + c.lines;
    EXPECT_EQ(Joined(tree.Lines()), Joined(expected)) << c.name;
    EXPECT_EQ(CaretText().toStdString(), c.caret) << c.name;
    QStringList window = c.window;
    window.replaceInStrings(QStringLiteral("#root"), doc->GetTitle());
    EXPECT_EQ(Joined(tree.WindowTexts()), Joined(window)) << c.name;
    if (*c.caret == '\0') {
        EXPECT_EQ(tree.caretSets, 0) << c.name << ": no caret set by the state";
    }
    EXPECT_EQ(tree.redrawLog, (std::vector<bool>{false, true})) << c.name;
}

// A plain property change.
void RenameText(TreeStateTest&, CDesignerDoc&, ExplorerDocElements& e)
{
    CFormElement::SetDescription(QStringLiteral("Renamed"), e.text);
}

const TreeStateCase kUndoCases[] = {
    {"PropertyChangeAfterAChildWasAddedIntoALoop",
     RenameText,
     [](FakeExplorerTree& tree, const ExplorerDocElements& e) {
         tree.EnsureVisible(tree.FindElementItem(e.variable));
         tree.SelectCaret(tree.FindElementItem(e.variable));
         tree.SetFirstVisible(tree.FindElementItem(e.source));
     },
     {"  Loop +", "    Source", "    Conditional +", "      Variable", "    Child", "  Output -", "    Address",
      "  Text"},
     "Variable",
     {"Source", "Conditional", "Variable", "Child"}},
    {"UndoThatRemovesElements",
     [](TreeStateTest& test, CDesignerDoc&, ExplorerDocElements& e) {
         test.Create(FormElementType::Text, TreeStateTest::Cells(12, 8, 18, 9), e.conditional, QStringLiteral("Extra"));
     },
     [](FakeExplorerTree& tree, const ExplorerDocElements& e) {
         TreeItem extra = tree.GetNextSiblingItem(tree.FindElementItem(e.variable));
         tree.EnsureVisible(extra);
         tree.SelectCaret(extra);
         tree.SetFirstVisible(tree.FindElementItem(e.loop));
     },
     {"  Loop +", "    Source", "    Conditional +", "      Variable", "    Child", "  Output -", "    Address",
      "  Text"},
     "",
     {"Loop", "Source", "Conditional", "Variable"}},
    {"RootSelected",
     RenameText,
     [](FakeExplorerTree& tree, const ExplorerDocElements&) {
         tree.Expand(tree.GetRootItem(), TRUE);
         tree.SelectCaret(tree.GetRootItem());
     },
     {"  Loop -", "    Source", "    Conditional -", "      Variable", "    Child", "  Output -", "    Address",
      "  Text"},
     "",
     {"#root", "Loop", "Output", "Text"}},
    {"BranchNearTheEndWithTheTopClampedToAFullWindow",
     RenameText,
     [](FakeExplorerTree& tree, const ExplorerDocElements& e) {
         tree.EnsureVisible(tree.FindElementItem(e.address));
         tree.SelectCaret(tree.FindElementItem(e.output));
         tree.SetFirstVisible(tree.FindElementItem(e.output));
     },
     {"  Loop -", "    Source", "    Conditional -", "      Variable", "    Child", "  Output +", "    Address",
      "  Text"},
     "Output",
     {"Loop", "Output", "Address", "Text"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, TreeStateUndoTest, ::testing::ValuesIn(kUndoCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(TreeStateTest, AnEmptyRecordLeavesTheTopAndTheCaretAlone)
{
    FakeExplorerTree empty;
    CTreeState state(doc.get());
    state.Save(empty);
    EXPECT_TRUE(state.GetItems().empty());
    EXPECT_TRUE(state.GetSelected().empty());

    ASSERT_TRUE(doc->FillExplorerTree(tree));
    tree.EnsureVisible(ItemOf(e.variable));
    tree.SetFirstVisible(ItemOf(e.source));
    ASSERT_EQ(tree.GetFirstVisibleItem(), ItemOf(e.source));
    tree.caretSets = 0;
    state.Restore(tree);
    EXPECT_EQ(tree.GetFirstVisibleItem(), ItemOf(e.source));
    EXPECT_EQ(tree.caretSets, 0);
    EXPECT_EQ(tree.redrawLog, (std::vector<bool>{false, true}));
}

TEST_F(TreeStateTest, RecordsPathsFromTheRootAndNoneForItemsWithoutAnElement)
{
    ASSERT_TRUE(doc->FillExplorerTree(tree));
    tree.EnsureVisible(ItemOf(e.variable));
    tree.SelectCaret(ItemOf(e.variable));
    tree.SetFirstVisible(tree.GetRootItem());
    CTreeState state(doc.get());
    state.Save(tree);
    using P = CTreeState::ItemPath;
    EXPECT_EQ(state.GetSelected(), (P{0, 0, 1, 0}));
    EXPECT_EQ(state.GetItems(), (std::vector<P>{{}, {0, 0}, {0, 0, 0}, {0, 0, 1}, {0, 0, 1, 0}, {0, 1}, {0, 2}}));

    CTreeState withoutDocument(nullptr);
    withoutDocument.Save(tree);
    EXPECT_TRUE(withoutDocument.GetSelected().empty());
    EXPECT_EQ(withoutDocument.GetItems(), std::vector<P>(7)) << "every item none";
}

TEST_F(TreeStateTest, APathPastTheTreeNamesNoItem)
{
    ASSERT_TRUE(doc->FillExplorerTree(tree));
    using P = CTreeState::ItemPath;
    EXPECT_EQ(CTreeState::ItemAt(tree, P{0, 0, 1, 0}), ItemOf(e.variable));
    EXPECT_EQ(CTreeState::ItemAt(tree, P{0, 3}), nullptr) << "past the root's children";
    EXPECT_EQ(CTreeState::ItemAt(tree, P{0, 2, 0}), nullptr) << "below an item without children";
    EXPECT_EQ(CTreeState::ItemAt(tree, P{1}), nullptr) << "a second top-level item";
    EXPECT_EQ(CTreeState::ItemAt(tree, P{0, -1}), nullptr);
    EXPECT_EQ(CTreeState::ItemAt(tree, P{}), nullptr);
}
