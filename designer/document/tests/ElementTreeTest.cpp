// The document's element tree operations, checked against the invariants
// that tie the element list, the containers' children and the z-order list
// together.

#include "designer/elements/tests/ElementTestKinds.h"

#include "designer/elements/FormOutputElement.h"

#include <algorithm>
#include <set>

using T = FormElementType;

namespace {

std::vector<CFormElement*> Listed(const CObList& list)
{
    std::vector<CFormElement*> elements;
    for (CObject* object : list)
        elements.push_back(dynamic_cast<CFormElement*>(object));
    return elements;
}

std::vector<CFormElement*> ChildrenOf(const CFormElement* container)
{
    std::vector<CFormElement*> children;
    ChildPosition position = container->GetFirstChildPosition();
    while (position)
        children.push_back(container->GetNextChild(position));
    return children;
}

} // namespace

class ElementTreeTest : public ElementDocFixture
{
protected:
    std::vector<CFormElement*> Elements() const { return Listed(doc->GetElementList()); }
    std::vector<CFormElement*> ZOrder() const { return Listed(doc->GetZOrderList()); }

    CFormElement* DefaultOutput() const
    {
        for (CFormElement* e : Elements())
            if (e->GetType() == T::Output)
                return e;
        return nullptr;
    }

    // Once in each list; a child is its container's, in document order; one
    // document for all.
    void ExpectConsistent() const
    {
        const std::vector<CFormElement*> elements = Elements();
        const std::vector<CFormElement*> zOrder = ZOrder();
        EXPECT_EQ(std::set<CFormElement*>(elements.begin(), elements.end()).size(), elements.size());
        EXPECT_EQ(std::set<CFormElement*>(zOrder.begin(), zOrder.end()),
                  std::set<CFormElement*>(elements.begin(), elements.end()));
        EXPECT_EQ(zOrder.size(), elements.size());
        for (CFormElement* e : elements) {
            ASSERT_NE(e, nullptr);
            EXPECT_TRUE(doc->ContainsElement(e));
            EXPECT_EQ(e->GetDocument(), doc.get());
            if (CFormElement* parent = e->GetParent()) {
                const auto children = ChildrenOf(parent);
                EXPECT_EQ(std::count(children.begin(), children.end(), e), 1);
                EXPECT_TRUE(doc->ContainsElement(parent));
            }
            std::vector<CFormElement*> inDocumentOrder;
            for (CFormElement* other : elements)
                if (other->GetParent() == e)
                    inDocumentOrder.push_back(other);
            EXPECT_EQ(ChildrenOf(e), inDocumentOrder);
        }
    }
};

TEST_F(ElementTreeTest, AddKeepsTheOutputElementLast)
{
    struct Case
    {
        const char* name;
        bool outputLast;
        BOOL keepOutputLast;
        bool expectBeforeOutput;
    };
    const Case cases[] = {
        {"output last, kept last", true, TRUE, true},
        {"output last, not asked", true, FALSE, false},
        {"other kind last", false, TRUE, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestLeaf* other = nullptr;
        if (!c.outputLast)
            other = AddLeaf(T::Text);
        auto* added = new TestLeaf(doc.get(), T::Text);
        ASSERT_EQ(doc->AddElement(added, c.keepOutputLast, nullptr), added);
        const auto elements = Elements();
        const auto at = std::find(elements.begin(), elements.end(), added);
        if (c.expectBeforeOutput)
            EXPECT_EQ(*(at + 1), DefaultOutput());
        else
            EXPECT_EQ(at + 1, elements.end());
        EXPECT_EQ(ZOrder().front(), added);
        ExpectConsistent();
        doc->DeleteElement(added, TRUE);
        doc->DeleteElement(other, TRUE);
    }
}

TEST_F(ElementTreeTest, AddRefusesNullAndDuplicates)
{
    TestLeaf* e = AddLeaf(T::Text);
    EXPECT_EQ(doc->AddElement(nullptr, TRUE, nullptr), nullptr);
    EXPECT_EQ(doc->AddElement(e, TRUE, nullptr), nullptr);
    ExpectConsistent();
}

TEST_F(ElementTreeTest, NewTopLevelElementAnnouncesItself)
{
    recorder.hints.clear();
    TestLeaf* e = AddLeaf(T::Text);
    EXPECT_EQ(recorder.hints, (std::vector<HintRecord>{{246, e}}));
}

TEST_F(ElementTreeTest, AnchorDecidesWhereANewElementGoes)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* inLoop = AddLeafInto(loop, T::Text);
    TestLeaf* top = AddLeaf(T::Text);
    TestLeaf* after = AddLeaf(T::Text);

    // Into an anchor that takes it.
    TestLeaf* into = AddLeafInto(loop, T::Variable);
    EXPECT_EQ(into->GetParent(), loop);

    // Just after an anchor that cannot hold it, in the anchor's container.
    TestLeaf* next = AddLeafInto(inLoop, T::Text);
    EXPECT_EQ(next->GetParent(), loop);
    auto children = ChildrenOf(loop);
    EXPECT_EQ(children, (std::vector<CFormElement*>{inLoop, next, into}));

    // Just after a top-level anchor, at top level.
    TestLeaf* afterTop = AddLeafInto(top, T::Text);
    EXPECT_EQ(afterTop->GetParent(), nullptr);
    const auto elements = Elements();
    const auto at = std::find(elements.begin(), elements.end(), top);
    EXPECT_EQ(*(at + 1), afterTop);
    EXPECT_EQ(*(at + 2), after);
    ExpectConsistent();
}

TEST_F(ElementTreeTest, ElementPlacedIntoAContainerIsAnnouncedAsReparented)
{
    TestContainer* loop = AddContainer(T::Loop);
    recorder.hints.clear();
    TestLeaf* e = AddLeafInto(loop, T::Text);
    EXPECT_EQ(recorder.hints.back(), (HintRecord{244, loop}));
    EXPECT_NE(std::find(recorder.hints.begin(), recorder.hints.end(), HintRecord{246, e}), recorder.hints.end());
}

TEST_F(ElementTreeTest, MoveElementModes)
{
    TestContainer* first = AddContainer(T::Loop);
    TestLeaf* a = AddLeafInto(first, T::Text);
    TestLeaf* b = AddLeafInto(first, T::Text);
    TestContainer* second = AddContainer(T::Conditional);
    TestLeaf* target = AddLeafInto(second, T::Text);

    // Before a target in another container: first into it, then before it.
    recorder.hints.clear();
    EXPECT_TRUE(doc->MoveElement(target, b, 2));
    EXPECT_EQ(b->GetParent(), second);
    EXPECT_EQ(ChildrenOf(second), (std::vector<CFormElement*>{b, target}));
    EXPECT_EQ(recorder.hints.back(), (HintRecord{244, second}));
    ExpectConsistent();

    // Within its own container it only reorders.
    EXPECT_TRUE(doc->MoveElement(target, b, 3));
    EXPECT_EQ(ChildrenOf(second), (std::vector<CFormElement*>{target, b}));
    ExpectConsistent();

    // Into the target.
    EXPECT_TRUE(doc->MoveElement(first, b, 1));
    EXPECT_EQ(ChildrenOf(first), (std::vector<CFormElement*>{a, b}));
    ExpectConsistent();

    recorder.hints.clear();
    EXPECT_TRUE(doc->MoveElement(first, b, 0));
    EXPECT_FALSE(doc->MoveElement(first, nullptr, 1));
    EXPECT_FALSE(doc->MoveElement(first, b, 7));
    EXPECT_TRUE(recorder.hints.empty());
}

TEST_F(ElementTreeTest, RefusedMoveChangesNothingAndSendsNoHint)
{
    TestContainer* conditional = AddContainer(T::Conditional);
    TestContainer* loop = AddContainer(T::Loop);
    const auto before = Elements();
    recorder.hints.clear();

    EXPECT_FALSE(doc->MoveElement(conditional, loop, 1));

    EXPECT_EQ(loop->GetParent(), nullptr);
    EXPECT_EQ(Elements(), before);
    EXPECT_TRUE(recorder.hints.empty());
}

TEST_F(ElementTreeTest, ReparentingToTheTopLevelPutsTheElementFirst)
{
    TestLeaf* first = AddLeaf(T::Text);
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* child = AddLeafInto(loop, T::Text);
    ASSERT_NE(Elements().front(), child);

    EXPECT_TRUE(doc->ReparentElement(child, nullptr));

    EXPECT_EQ(Elements().front(), child);
    EXPECT_EQ(child->GetParent(), nullptr);
    EXPECT_TRUE(ChildrenOf(loop).empty());
    EXPECT_TRUE(doc->ReparentElement(child, nullptr)) << "already there: nothing to do";
    (void)first;
    ExpectConsistent();
}

TEST_F(ElementTreeTest, ContainerNeverGoesIntoItsOwnBranch)
{
    TestContainer* outer = AddContainer(T::Conditional);
    TestContainer* inner = AddContainer(T::Conditional, outer);
    ASSERT_EQ(inner->GetParent(), outer);

    EXPECT_FALSE(doc->ReparentElement(outer, inner));
    EXPECT_FALSE(doc->MoveElement(outer, outer, 1));
    EXPECT_EQ(outer->GetParent(), nullptr);
    EXPECT_EQ(inner->GetParent(), outer);
    ExpectConsistent();
}

TEST_F(ElementTreeTest, PlaceInDocumentOrderNeedsOneContainer)
{
    TestLeaf* top = AddLeaf(T::Text);
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* child = AddLeafInto(loop, T::Text);
    TestLeaf outside(doc.get(), T::Text);

    struct Case
    {
        const char* name;
        CFormElement* element;
        CFormElement* target;
        BOOL after;
        BOOL expected;
    };
    const Case cases[] = {
        {"null element", nullptr, top, TRUE, FALSE},
        {"itself", top, top, TRUE, FALSE},
        {"different containers", child, top, TRUE, FALSE},
        {"child to the head", child, nullptr, TRUE, FALSE},
        {"not in the document", &outside, nullptr, TRUE, FALSE},
        {"top level to the tail", top, nullptr, FALSE, TRUE},
        {"top level to the head", top, nullptr, TRUE, TRUE},
        {"before a sibling", loop, top, FALSE, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(doc->PlaceInDocumentOrder(c.element, c.target, c.after), c.expected);
    }
    EXPECT_EQ(Elements().front(), loop);
    ExpectConsistent();
}

TEST_F(ElementTreeTest, TopLevelOperationsRefuseForeignElements)
{
    TestLeaf outside(doc.get(), T::Text);
    recorder.hints.clear();
    EXPECT_EQ(doc->MakeTopLevel(&outside), nullptr);
    EXPECT_FALSE(doc->RemoveTopLevel(&outside));
    EXPECT_FALSE(doc->RemoveFromLists(&outside));
    doc->BringToFront(&outside, TRUE);
    doc->SendToBack(&outside, TRUE);
    EXPECT_TRUE(recorder.hints.empty());
    ExpectConsistent();
}

TEST_F(ElementTreeTest, DeletingASelectedContainerKeepsUnselectedChildren)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* a = AddLeafInto(loop, T::Text);
    TestLeaf* b = AddLeafInto(loop, T::Text);
    loop->Select(TRUE);

    doc->DeleteSelectedElements();

    EXPECT_FALSE(doc->ContainsElement(loop));
    EXPECT_EQ(a->GetParent(), nullptr);
    EXPECT_EQ(b->GetParent(), nullptr);
    ExpectConsistent();
}

TEST_F(ElementTreeTest, DeletingAContainerAndItsChildTogetherDeletesEachOnce)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* child = AddLeafInto(loop, T::Text);
    loop->Select(TRUE);
    child->Select(TRUE);
    const auto count = doc->GetElementList().GetCount();

    doc->DeleteSelectedElements();

    EXPECT_EQ(doc->GetElementList().GetCount(), count - 2);
    ExpectConsistent();
}

// A selected child that comes before its container in the document and that
// the container's deletion has to delete (its new container refuses it):
// the walk must not touch it again.
TEST_F(ElementTreeTest, DeleteSelectedSkipsWhatAContainerAlreadyDeleted)
{
    TestLeaf* comment = AddLeaf(T::XmlComment);
    TestContainer* conditional = AddContainer(T::Conditional);
    ASSERT_TRUE(doc->MoveElement(conditional, comment, 1));
    TestContainer* instruction = AddContainer(T::XmlInstruction);
    ASSERT_TRUE(doc->ReparentElement(conditional, instruction));
    const auto elements = Elements();
    ASSERT_LT(std::find(elements.begin(), elements.end(), comment),
              std::find(elements.begin(), elements.end(), conditional));
    comment->Select(TRUE);
    conditional->Select(TRUE);

    doc->DeleteSelectedElements();

    EXPECT_FALSE(doc->ContainsElement(conditional));
    EXPECT_EQ(instruction->GetChildCount(), 0);
    ExpectConsistent();
}

TEST_F(ElementTreeTest, DeleteWithChildrenTakesTheWholeBranch)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestContainer* conditional = AddContainer(T::Conditional, loop);
    AddLeafInto(conditional, T::Text);
    AddLeafInto(loop, T::Text);
    const auto count = doc->GetElementList().GetCount();
    recorder.hints.clear();

    doc->DeleteElement(loop, TRUE);

    EXPECT_EQ(doc->GetElementList().GetCount(), count - 4);
    EXPECT_EQ(recorder.hints.back(), (HintRecord{247, loop}));
    ExpectConsistent();
}

TEST_F(ElementTreeTest, RemoveAllEmptiesBothLists)
{
    TestContainer* loop = AddContainer(T::Loop);
    AddLeafInto(loop, T::Text);
    recorder.hints.clear();

    doc->RemoveAllElements();

    EXPECT_TRUE(doc->GetElementList().IsEmpty());
    EXPECT_TRUE(doc->GetZOrderList().IsEmpty());
    ASSERT_FALSE(recorder.hints.empty());
    EXPECT_EQ(recorder.hints.front(), (HintRecord{245, nullptr}));
}

// Membership is kept beside the lists: every change to them must reach it,
// or an element would be refused, found or moved where it is not listed.
TEST_F(ElementTreeTest, MembershipFollowsEveryChangeToTheLists)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* a = AddLeafInto(loop, T::Text);
    TestLeaf* b = AddLeaf(T::Text);
    ASSERT_TRUE(doc->MoveElement(loop, b, 1));
    ASSERT_TRUE(doc->MoveElement(a, b, 2));
    EXPECT_EQ(ChildrenOf(loop), (std::vector<CFormElement*>{b, a}));
    ASSERT_TRUE(doc->ReparentElement(a, nullptr));
    EXPECT_EQ(Elements().front(), a);
    doc->SendToBack(loop, TRUE);
    doc->BringToFront(b, FALSE);
    ExpectConsistent();

    // The container alone goes; its child is handed to the top level.
    doc->DeleteElement(loop, FALSE);
    EXPECT_FALSE(doc->ContainsElement(loop));
    EXPECT_EQ(b->GetParent(), nullptr);
    ExpectConsistent();

    // Once emptied, the document takes new elements again, wherever they
    // are allocated.
    doc->RemoveAllElements();
    EXPECT_TRUE(doc->GetZOrderList().IsEmpty());
    TestLeaf* fresh = AddLeaf(T::Text);
    EXPECT_EQ(Elements(), (std::vector<CFormElement*>{fresh}));
    EXPECT_EQ(ZOrder(), (std::vector<CFormElement*>{fresh}));
    ExpectConsistent();
}

TEST_F(ElementTreeTest, BringToFrontAndSendToBackWithChildren)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* c1 = AddLeafInto(loop, T::Text);
    TestLeaf* c2 = AddLeafInto(loop, T::Text);
    TestLeaf* other = AddLeaf(T::Text);
    ASSERT_EQ(ZOrder().front(), other);

    recorder.hints.clear();
    doc->BringToFront(loop, TRUE);
    auto z = ZOrder();
    EXPECT_EQ(std::vector<CFormElement*>(z.begin(), z.begin() + 3), (std::vector<CFormElement*>{c2, c1, loop}));
    EXPECT_EQ(recorder.hints, (std::vector<HintRecord>{{241, loop}, {241, c1}, {241, c2}}));

    doc->SendToBack(loop, TRUE);
    z = ZOrder();
    EXPECT_EQ(std::vector<CFormElement*>(z.end() - 3, z.end()), (std::vector<CFormElement*>{loop, c1, c2}));

    doc->BringToFront(loop, FALSE);
    EXPECT_EQ(ZOrder().front(), loop);
    EXPECT_EQ(ZOrder().back(), c2);
    ExpectConsistent();
}

TEST_F(ElementTreeTest, CreateNewElementMakesElementKindsOnly)
{
    struct Case
    {
        const char* name;
        int type;
        bool made;
    };
    const Case cases[] = {
        {"output", T::Output, true},
        {"address", T::Address, true},
        {"break loop (record only)", T::BreakLoop, false},
        {"blank record", T::BlankRecord, false},
        {"unknown number", 999, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto count = doc->GetElementList().GetCount();
        CFormElement* e = doc->CreateNewElement(c.type, 0, {}, nullptr);
        EXPECT_EQ(e != nullptr, c.made);
        EXPECT_EQ(doc->GetElementList().GetCount(), count + (c.made ? 1 : 0));
        if (e != nullptr) {
            EXPECT_EQ(e->GetType(), c.type);
            doc->DeleteElement(e, TRUE);
        }
    }
    ExpectConsistent();
}

TEST(FindElementIndexTest, ZeroBasedOrAbsent)
{
    TestLeaf a(nullptr, T::Text);
    TestLeaf b(nullptr, T::Text);
    TestLeaf c(nullptr, T::Text);
    CObList list;
    list.AddTail(&a);
    list.AddTail(&b);
    struct Case
    {
        const char* name;
        const CFormElement* element;
        BOOL found;
        WORD index;
    };
    const Case cases[] = {
        {"first", &a, TRUE, 0},
        {"second", &b, TRUE, 1},
        {"absent", &c, FALSE, 0},
        {"null", nullptr, FALSE, 0},
    };
    for (const Case& k : cases) {
        WORD index = 77;
        EXPECT_EQ(FindElementIndex(list, k.element, &index), k.found) << k.name;
        EXPECT_EQ(index, k.index) << k.name;
    }
}

TEST(ElementsExtentTest, UnionOfTheShownBoxes)
{
    TestLeaf a(nullptr, T::Text);
    TestLeaf b(nullptr, T::Text);
    TestLeaf empty(nullptr, T::Output);
    a.SetRects({}, {10, 16, 40, 48});
    b.SetRects({}, {100, 32, 120, 64});
    CObList list;
    EXPECT_EQ(GetElementsExtent(list), QSize(0, 0));
    list.AddTail(&a);
    list.AddTail(&empty);
    list.AddTail(&b);
    EXPECT_EQ(GetElementsExtent(list), QSize(110, 48));
}

TEST(VariableNamesTest, SortedUniqueAndShort)
{
    struct Case
    {
        const char* name;
        QStringList input;
        QStringList expected;
    };
    const Case cases[] = {
        {"ordinal order without duplicates", {"b", "A", "a", "A"}, {"A", "a", "b"}},
        {"eleven characters left out", {"ABCDEFGHIJK", "ABCDEFGHIJ"}, {"ABCDEFGHIJ"}},
        {"empty name left out", {"", "x"}, {"x"}},
        {"digits before letters", {"z1", "10", "Z"}, {"10", "Z", "z1"}},
    };
    for (const Case& c : cases) {
        QStringList names;
        for (const QString& n : c.input)
            AddSortedUniqueName(names, n);
        EXPECT_EQ(names, c.expected) << c.name;
    }
}

TEST_F(ElementTreeTest, RevalidateReachesEveryElementAndThePropertySheet)
{
    struct SheetListener : DocumentChangeListener
    {
        void OnDocumentChanged(LPARAM, CObject*, CObject*) override {}
        void OnElementsRevalidated(CDesignerDoc*) override { ++refreshes; }
        int refreshes = 0;
    } sheet;
    doc->AddChangeListener(&sheet);
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* child = AddLeafInto(loop, T::Text);
    child->SetRects({3, 5, 28, 30}, {});

    doc->RevalidateElements(1);

    EXPECT_EQ(child->SourceRect(), kwvd::Rect(0, 0, 30, 32));
    EXPECT_FALSE(child->IsAutoDescription());
    EXPECT_FALSE(loop->IsAutoDescription());
    EXPECT_EQ(sheet.refreshes, 1);
    doc->RemoveChangeListener(&sheet);
}
