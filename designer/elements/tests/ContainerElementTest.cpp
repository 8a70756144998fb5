#include "ElementTestKinds.h"

#include "designer/elements/FormOutputElement.h"
#include "designer/output/OutputDeviceManager.h"

using T = FormElementType;

TEST(ContainerMatrixTest, WhichKindHoldsWhich)
{
    struct Case
    {
        const char* name;
        int container;
        int child;
        bool accepted;
    };
    const Case cases[] = {
        {"conditional takes text", T::Conditional, T::Text, true},
        {"conditional takes conditional", T::Conditional, T::Conditional, true},
        {"conditional refuses loop", T::Conditional, T::Loop, false},
        {"loop takes conditional", T::Loop, T::Conditional, true},
        {"loop takes xml element", T::Loop, T::XmlElement, true},
        {"loop refuses loop", T::Loop, T::Loop, false},
        {"output takes address", T::Output, T::Address, true},
        {"output refuses text", T::Output, T::Text, false},
        {"output refuses output", T::Output, T::Output, false},
        {"xml element takes loop", T::XmlElement, T::Loop, true},
        {"xml element takes comment", T::XmlElement, T::XmlComment, true},
        {"xml element takes xml element", T::XmlElement, T::XmlElement, true},
        {"xml element takes instruction", T::XmlElement, T::XmlInstruction, true},
        {"xml element takes attribute", T::XmlElement, T::XmlAttribute, true},
        {"xml element refuses text", T::XmlElement, T::Text, false},
        {"xml element refuses source", T::XmlElement, T::Source, false},
        {"instruction takes attribute", T::XmlInstruction, T::XmlAttribute, true},
        {"instruction takes remark", T::XmlInstruction, T::Remark, true},
        {"instruction refuses comment", T::XmlInstruction, T::XmlComment, false},
        {"instruction refuses xml element", T::XmlInstruction, T::XmlElement, false},
        {"instruction refuses instruction", T::XmlInstruction, T::XmlInstruction, false},
        {"text holds nothing", T::Text, T::Text, false},
        {"address holds nothing", T::Address, T::Address, false},
        {"record-only type is never a child", T::Loop, T::EndLoop, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ContainerTypeAccepts(c.container, c.child) != 0, c.accepted) << c.name;
}

class ContainerElementTest : public ElementDocFixture
{};

TEST_F(ContainerElementTest, ConditionalAsksTheContainersAboveIt)
{
    struct Case
    {
        const char* name;
        int outer; // container the conditional sits in
        int child;
        bool accepted;
    };
    const Case cases[] = {
        {"in an instruction: comment refused", T::XmlInstruction, T::XmlComment, false},
        {"in an instruction: attribute taken", T::XmlInstruction, T::XmlAttribute, true},
        {"in a loop: text taken", T::Loop, T::Text, true},
        {"in an xml element: loop refused", T::XmlElement, T::Loop, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestContainer* outer = AddContainer(c.outer);
        TestContainer* conditional = AddContainer(T::Conditional, outer);
        ASSERT_EQ(conditional->GetParent(), outer);
        TestLeaf child(doc.get(), c.child);
        EXPECT_EQ(conditional->CanContain(&child) != 0, c.accepted);
        doc->DeleteElement(outer, TRUE);
    }
}

TEST_F(ContainerElementTest, LoopAsksOnlyAboutTheChild)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestContainer* xml = AddContainer(T::XmlElement, loop);
    ASSERT_EQ(xml->GetParent(), loop);
    TestContainer* inner = AddContainer(T::Loop, xml);
    EXPECT_EQ(inner->GetParent(), xml) << "a Loop inside an XML element inside a Loop is accepted";
}

TEST_F(ContainerElementTest, AddChildAppendsOnceAndAnnounces)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* a = AddLeaf(T::Text);
    TestLeaf* b = AddLeaf(T::Text);
    recorder.hints.clear();

    EXPECT_TRUE(loop->AddChild(a, nullptr));
    EXPECT_TRUE(loop->AddChild(b, a)); // the hint is not used: appended
    EXPECT_FALSE(loop->AddChild(a, nullptr));
    EXPECT_FALSE(loop->AddChild(nullptr, nullptr));

    std::vector<CFormElement*> order;
    ChildPosition position = loop->GetFirstChildPosition();
    while (position)
        order.push_back(loop->GetNextChild(position));
    EXPECT_EQ(order, (std::vector<CFormElement*>{a, b}));
    EXPECT_EQ(a->GetParent(), loop);
    EXPECT_EQ(recorder.hints, (std::vector<HintRecord>{{246, a}, {246, b}}));

    // Document order again, as a move leaves the list.
    loop->RemoveChild(a);
    loop->RemoveChild(b);
    a->SetParent(nullptr);
    b->SetParent(nullptr);
}

TEST_F(ContainerElementTest, RemoveChildLeavesTheParentPointer)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* a = AddLeafInto(loop, T::Text);
    recorder.hints.clear();

    EXPECT_TRUE(loop->RemoveChild(a));
    EXPECT_FALSE(loop->RemoveChild(a));
    EXPECT_EQ(a->GetParent(), loop);
    EXPECT_EQ(recorder.hints, (std::vector<HintRecord>{{247, a}}));
    EXPECT_EQ(loop->GetChildCount(), 0);
    doc->MakeTopLevel(a);
}

TEST_F(ContainerElementTest, SortChildrenFollowsTheElementList)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* a = AddLeafInto(loop, T::Text);
    TestLeaf* b = AddLeafInto(loop, T::Text);
    TestLeaf* c = AddLeafInto(loop, T::Text);
    // Put c first in the document; the child list follows.
    ASSERT_TRUE(doc->PlaceInDocumentOrder(c, a, FALSE));

    std::vector<CFormElement*> order;
    ChildPosition position = loop->GetFirstChildPosition();
    while (position)
        order.push_back(loop->GetNextChild(position));
    EXPECT_EQ(order, (std::vector<CFormElement*>{c, a, b}));
}

TEST_F(ContainerElementTest, MoveChildReordersThroughTheDocument)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* a = AddLeafInto(loop, T::Text);
    TestLeaf* b = AddLeafInto(loop, T::Text);

    EXPECT_TRUE(loop->MoveChild(a, b, 3));
    ChildPosition position = loop->GetFirstChildPosition();
    EXPECT_EQ(loop->GetNextChild(position), b);
    EXPECT_EQ(loop->GetNextChild(position), a);
    EXPECT_TRUE(position.IsNull());
}

TEST_F(ContainerElementTest, SetDocumentReachesTheChildren)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* a = AddLeafInto(loop, T::Text);
    CDesignerDoc other;
    EXPECT_TRUE(loop->SetDocument(&other));
    EXPECT_EQ(a->GetDocument(), &other);
    EXPECT_FALSE(loop->SetDocument(&other));
    loop->SetDocument(doc.get());
}

// A container deleted on its own hands its children one level up.
TEST_F(ContainerElementTest, DeletedAloneHandsChildrenUp)
{
    // The conditional gets its children at top level, where it still takes
    // a comment, and only then moves into the instruction.
    TestContainer* conditional = AddContainer(T::Conditional);
    TestLeaf* attribute = AddLeafInto(conditional, T::XmlAttribute);
    TestLeaf* comment = AddLeafInto(conditional, T::XmlComment);
    ASSERT_EQ(comment->GetParent(), conditional);
    TestContainer* instruction = AddContainer(T::XmlInstruction);
    ASSERT_TRUE(doc->ReparentElement(conditional, instruction));
    recorder.hints.clear();

    doc->DeleteElement(conditional, FALSE);

    EXPECT_EQ(attribute->GetParent(), instruction);
    EXPECT_TRUE(doc->ContainsElement(attribute));
    EXPECT_FALSE(doc->ContainsElement(comment)) << "the refused child is deleted";
    EXPECT_EQ(instruction->GetChildCount(), 1);
    const std::vector<LPARAM> hints = recorder.HintNumbers();
    EXPECT_NE(std::find(hints.begin(), hints.end(), 244), hints.end());
    EXPECT_EQ(recorder.hints.back(), (HintRecord{241, conditional}));
}

TEST_F(ContainerElementTest, CopySharesTheSameChildren)
{
    TestContainer* loop = AddContainer(T::Loop);
    TestLeaf* a = AddLeafInto(loop, T::Text);
    TestContainer copy(nullptr, T::Loop);
    copy.Copy(*loop);
    ChildPosition position = copy.GetFirstChildPosition();
    EXPECT_EQ(copy.GetNextChild(position), a);
    EXPECT_TRUE(position.IsNull());
    // Let go without handing anything on: the copy owns nothing.
    copy.Copy(TestContainer(nullptr, T::Loop));
}

class OutputElementTest : public ElementDocFixture
{
protected:
    CFormOutputElement* DefaultOutput() const
    {
        return dynamic_cast<CFormOutputElement*>(doc->GetLastTopLevelElement());
    }
};

TEST_F(OutputElementTest, NewDocumentHasOneOnTheDefaultDevice)
{
    CFormOutputElement* output = DefaultOutput();
    ASSERT_NE(output, nullptr);
    EXPECT_EQ(output->GetType(), 262);
    EXPECT_EQ(output->GetOutputDevice(), 0);
    EXPECT_EQ(output->GetDescription(), QStringLiteral("Default Output Device"));
    EXPECT_TRUE(output->SourceRect().IsNull());
    EXPECT_TRUE(output->DestRect().IsNull());
    EXPECT_TRUE(doc->GetOutputDeviceManager()->IsAnyDeviceInUse());
}

TEST_F(OutputElementTest, AcceptsOnlyAddresses)
{
    CFormOutputElement* output = DefaultOutput();
    TestLeaf address(doc.get(), T::Address);
    TestLeaf text(doc.get(), T::Text);
    EXPECT_TRUE(output->CanContain(&address));
    EXPECT_FALSE(output->CanContain(&text));
    EXPECT_FALSE(output->CanContain(nullptr));
}

TEST_F(OutputElementTest, LeavingTheDeviceAndRefusedIndexes)
{
    CFormOutputElement* output = DefaultOutput();
    EXPECT_FALSE(output->SetOutputDevice(0)) << "unchanged";
    EXPECT_FALSE(output->SetOutputDevice(42)) << "no device there: stays on its device";
    EXPECT_EQ(output->GetOutputDevice(), 0);

    EXPECT_TRUE(output->SetOutputDevice(-1));
    EXPECT_EQ(output->GetOutputDevice(), -1);
    EXPECT_FALSE(doc->GetOutputDeviceManager()->IsAnyDeviceInUse());
    EXPECT_TRUE(output->SetOutputDevice(-1)) << "an element without a device answers TRUE";
}

TEST_F(OutputElementTest, SelectsWithoutHints)
{
    CFormOutputElement* output = DefaultOutput();
    recorder.hints.clear();
    EXPECT_TRUE(output->Select(TRUE));
    EXPECT_FALSE(output->Select(TRUE));
    EXPECT_TRUE(output->Select(FALSE));
    EXPECT_TRUE(recorder.hints.empty());
}

TEST_F(OutputElementTest, DeletedAloneLeavesItsAddressesAtTopLevel)
{
    CFormOutputElement* output = DefaultOutput();
    TestLeaf* address = AddLeafInto(output, T::Address);
    ASSERT_EQ(address->GetParent(), output);

    doc->DeleteElement(output, FALSE);

    EXPECT_TRUE(doc->ContainsElement(address));
    EXPECT_EQ(address->GetParent(), nullptr);
    EXPECT_FALSE(doc->GetOutputDeviceManager()->IsAnyDeviceInUse()) << "the device was released first";
}

TEST_F(OutputElementTest, EnsureDefaultAddsOneOnlyWhenNoDeviceIsUsed)
{
    const auto count = doc->GetElementList().GetCount();
    doc->EnsureDefaultOutputElement();
    EXPECT_EQ(doc->GetElementList().GetCount(), count);

    doc->DeleteElement(DefaultOutput(), TRUE);
    doc->EnsureDefaultOutputElement();
    ASSERT_NE(DefaultOutput(), nullptr);
    EXPECT_EQ(DefaultOutput()->GetOutputDevice(), 0);
}
