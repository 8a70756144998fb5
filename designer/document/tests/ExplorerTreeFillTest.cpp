// The explorer's tree as the document fills it and as the shared sort puts
// an item's children back into document order.

#include "designer/document/ExplorerTreeOrder.h"
#include "tests/support/ExplorerDocFixture.h"
#include "tests/support/FakeExplorerTree.h"

#include <string>
#include <vector>

namespace {

// Below the root item, whose text is the document's title.
const QStringList kFixtureElementLines = {
    QStringLiteral("  Loop -"),       QStringLiteral("    Source"), QStringLiteral("    Conditional -"),
    QStringLiteral("      Variable"), QStringLiteral("  Output -"), QStringLiteral("    Address"),
    QStringLiteral("  Text"),
};

std::string Joined(const QStringList& lines)
{
    return lines.join(QLatin1Char('|')).toStdString();
}

} // namespace

class ExplorerTreeFillTest : public ExplorerDocFixture
{
protected:
    QStringList WithRoot(const QStringList& elementLines) const
    {
        return QStringList{doc->GetTitle() + QStringLiteral(" -")} + elementLines;
    }

    FakeExplorerTree tree;
};

TEST_F(ExplorerTreeFillTest, ShowsTheTitleAndEveryElementInDocumentOrder)
{
    ASSERT_TRUE(doc->FillExplorerTree(tree));
    EXPECT_EQ(Joined(tree.Lines()), Joined(WithRoot(kFixtureElementLines)));
    EXPECT_TRUE(doc->GetTitle().startsWith(QStringLiteral("Fixture")));
    EXPECT_EQ(tree.GetItemElement(tree.GetRootItem()), nullptr);
    EXPECT_EQ(tree.GetItemElement(tree.FindElementItem(e.variable)), e.variable);
    EXPECT_EQ(tree.GetCaretItem(), nullptr) << "nothing is selected";
}

TEST_F(ExplorerTreeFillTest, RefillStartsFromScratch)
{
    ASSERT_TRUE(doc->FillExplorerTree(tree));
    {
        CDocChangeGuard guard(doc.get());
        doc->DeleteElement(e.conditional, TRUE);
    }
    ASSERT_TRUE(doc->FillExplorerTree(tree));
    EXPECT_EQ(Joined(tree.Lines()),
              Joined(WithRoot({QStringLiteral("  Loop -"), QStringLiteral("    Source"), QStringLiteral("  Output -"),
                               QStringLiteral("    Address"), QStringLiteral("  Text")})));
}

TEST_F(ExplorerTreeFillTest, NoRootItemMeansFailure)
{
    tree.failInserts = true;
    EXPECT_FALSE(doc->FillExplorerTree(tree));
    EXPECT_EQ(tree.GetRootItem(), nullptr);
}

TEST_F(ExplorerTreeFillTest, TheSelectedElementsItemBecomesTheCaret)
{
    e.variable->Select(TRUE);
    ASSERT_TRUE(doc->FillExplorerTree(tree));
    ASSERT_NE(tree.GetCaretItem(), nullptr);
    EXPECT_EQ(tree.GetItemElement(tree.GetCaretItem()), e.variable);
}

// A snapshot reads the children before the top-level elements; the tree
// still shows the containers' order and the top level in document order.
TEST_F(ExplorerTreeFillTest, AfterAnUndoTheFillIsTheSame)
{
    {
        CDocChangeGuard guard(doc.get());
        CFormElement::SetDescription(QStringLiteral("Renamed"), e.text);
    }
    doc->OnEditUndo();
    ASSERT_TRUE(doc->FillExplorerTree(tree));
    EXPECT_EQ(Joined(tree.Lines()), Joined(WithRoot(kFixtureElementLines)));
}

TEST_F(ExplorerTreeFillTest, AContainerInsertsItsChildrenBelowItsOwnItem)
{
    TreeItem root = tree.InsertItem(nullptr, QStringLiteral("root"), nullptr);
    TreeItem item = e.loop->InsertIntoTree(tree, root);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(tree.GetItemElement(item), e.loop);
    EXPECT_EQ(Joined(tree.Lines()),
              Joined({QStringLiteral("root -"), QStringLiteral("  Loop -"), QStringLiteral("    Source"),
                      QStringLiteral("    Conditional -"), QStringLiteral("      Variable")}));
}

TEST_F(ExplorerTreeFillTest, AContainerWithoutItsOwnItemInsertsNoChildren)
{
    tree.failInserts = true;
    EXPECT_EQ(e.loop->InsertIntoTree(tree, nullptr), nullptr);
    tree.failInserts = false;
    EXPECT_EQ(tree.GetRootItem(), nullptr);
}

struct SortCase
{
    const char* name;
    // Rearranges the document behind the tree's back; returns the parent
    // whose children are sorted (null: the root item).
    CFormElement* (*rearrange)(CDesignerDoc& doc, const ExplorerDocElements& e);
    QStringList expected;
};

void PrintTo(const SortCase& c, std::ostream* os)
{
    *os << c.name;
}

class ExplorerTreeSortTest : public ExplorerDocFixture, public ::testing::WithParamInterface<SortCase>
{};

TEST_P(ExplorerTreeSortTest, ChildrenFollowTheElementList)
{
    const SortCase& c = GetParam();
    FakeExplorerTree tree;
    ASSERT_TRUE(doc->FillExplorerTree(tree));
    CFormElement* parent = nullptr;
    {
        CDocChangeGuard guard(doc.get());
        parent = c.rearrange(*doc, e);
    }
    TreeItem item = parent != nullptr ? tree.FindElementItem(parent) : tree.GetRootItem();
    ASSERT_TRUE(SortTreeChildren(tree, item, *doc)) << c.name;
    QStringList children;
    for (TreeItem child = tree.GetChildItem(item); child != nullptr; child = tree.GetNextSiblingItem(child))
        children << tree.Text(child);
    EXPECT_EQ(Joined(children), Joined(c.expected)) << c.name;
}

const SortCase kSortCases[] = {
    {"TopLevelReversed",
     [](CDesignerDoc& doc, const ExplorerDocElements& e) -> CFormElement* {
         doc.MoveElement(e.loop, e.text, 2);
         doc.MoveElement(e.text, e.output, 3);
         return nullptr;
     },
     {QStringLiteral("Text"), QStringLiteral("Output"), QStringLiteral("Loop")}},
    {"ContainerChildrenSwapped",
     [](CDesignerDoc& doc, const ExplorerDocElements& e) -> CFormElement* {
         doc.MoveElement(e.source, e.conditional, 2);
         return e.loop;
     },
     {QStringLiteral("Conditional"), QStringLiteral("Source")}},
    {"AlreadyInOrder",
     [](CDesignerDoc&, const ExplorerDocElements&) -> CFormElement* { return nullptr; },
     {QStringLiteral("Loop"), QStringLiteral("Output"), QStringLiteral("Text")}},
    {"OneChild",
     [](CDesignerDoc&, const ExplorerDocElements& e) -> CFormElement* { return e.conditional; },
     {QStringLiteral("Variable")}},
    {"NoChildren", [](CDesignerDoc&, const ExplorerDocElements& e) -> CFormElement* { return e.text; }, {}},
};

INSTANTIATE_TEST_SUITE_P(Cases, ExplorerTreeSortTest, ::testing::ValuesIn(kSortCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExplorerTreeFillTest, AnItemWithoutAnElementSortsFirstAndEqualsKeepTheirOrder)
{
    TreeItem root = tree.InsertItem(nullptr, QStringLiteral("root"), nullptr);
    tree.InsertItem(root, QStringLiteral("Text"), e.text);
    tree.InsertItem(root, QStringLiteral("none 1"), nullptr);
    tree.InsertItem(root, QStringLiteral("Loop"), e.loop);
    tree.InsertItem(root, QStringLiteral("none 2"), nullptr);
    ASSERT_TRUE(SortTreeChildren(tree, root, *doc));
    EXPECT_EQ(Joined(tree.Lines()),
              Joined({QStringLiteral("root -"), QStringLiteral("  none 1"), QStringLiteral("  none 2"),
                      QStringLiteral("  Loop"), QStringLiteral("  Text")}));
}

TEST_F(ExplorerTreeFillTest, CompareTreeElementsOrdersByDocumentPosition)
{
    EXPECT_LT(CompareTreeElements(e.loop, e.text, kExplorerSortDocumentOrder), 0);
    EXPECT_GT(CompareTreeElements(e.text, e.loop, kExplorerSortDocumentOrder), 0);
    EXPECT_EQ(CompareTreeElements(e.text, e.text, kExplorerSortDocumentOrder), 0);
    EXPECT_EQ(CompareTreeElements(nullptr, e.text, kExplorerSortDocumentOrder), 0);
    EXPECT_EQ(CompareTreeElements(e.text, nullptr, kExplorerSortDocumentOrder), 0);
}
