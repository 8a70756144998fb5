#include "designer/document/Page.h"
#include "designer/document/XmlHttp.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormLoopElement.h"
#include "designer/elements/FormXmlAttributeElement.h"
#include "designer/elements/FormXmlCommentElement.h"
#include "designer/elements/FormXmlElement.h"
#include "designer/elements/FormXmlInstructionElement.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"
#include "tests/support/JvxRecordLines.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

using kwvd::Rect;
using T = FormElementType;

// An XML document with input pages of 80 x 66 cells of 10 x 16 pixels.
class XmlKindsTest : public ElementDocFixture
{
protected:
    void SetUp() override
    {
        ElementDocFixture::SetUp();
        ASSERT_TRUE(doc->SetDocType(1));
        ASSERT_TRUE(doc->GetSourcePage()->SetSizeInCells(80, 66));
        ASSERT_TRUE(doc->GetOutputPage()->SetSizeInCells(80, 66));
        ASSERT_EQ(doc->GetSourcePage()->GetCellWidth(), 10);
        ASSERT_EQ(doc->GetSourcePage()->GetCellHeight(), 16);
    }

    static Rect Cells(int left, int top, int right, int bottom)
    {
        return Rect((left - 1) * 10, (top - 1) * 16, (right - 1) * 10, (bottom - 1) * 16);
    }

    template <class Kind>
    Kind* Create(int type, int side, const Rect& rect, CFormElement* anchor = nullptr)
    {
        auto* element = dynamic_cast<Kind*>(doc->CreateNewElement(type, side, rect, anchor));
        EXPECT_NE(element, nullptr);
        return element;
    }

    Bytes Export(CFormElement* element, int version)
    {
        doc->m_jvxRecordCounter = 1;
        const Bytes bytes = StoreJvx(
            version, [&](CJVXArchive& ar) { element->ExportJVX(ar); }, nullptr, doc.get());
        doc->m_jvxRecordCounter = 0;
        return bytes;
    }

    // The first element of the bytes, read as the top-level reader does.
    CFormElement* ReadFirst(const Bytes& bytes, int version)
    {
        JvxReader in(bytes, version, nullptr, doc.get());
        CAPRTPDMRec record(doc.get());
        record.ExchangeJVX(in.Archive());
        EXPECT_TRUE(record.IsValid());
        if (!record.IsValid())
            return nullptr;
        CFormElement* element = record.CreateElement(in.Archive());
        if (element != nullptr && !doc->ContainsElement(element))
            doc->AddElement(element, FALSE, nullptr);
        return element;
    }

    // An element "invoice" with constant data "X1", holding an attribute
    // "id" read at input line 4, columns 3 to 7, and an empty instruction
    // "pi".
    CFormXmlElement* BuildInvoice()
    {
        auto* invoice = Create<CFormXmlElement>(T::XmlElement, 0, Rect());
        invoice->SetName(QStringLiteral("invoice"));
        invoice->SetValue(QStringLiteral("X1"));
        auto* id = Create<CFormXmlAttributeElement>(T::XmlAttribute, PaneSide::Input, Cells(3, 4, 8, 5), invoice);
        id->SetName(QStringLiteral("id"));
        auto* pi = Create<CFormXmlInstructionElement>(T::XmlInstruction, 0, Rect(), invoice);
        pi->SetName(QStringLiteral("pi"));
        EXPECT_EQ(id->GetParent(), invoice);
        EXPECT_EQ(pi->GetParent(), invoice);
        return invoice;
    }
};

TEST_F(XmlKindsTest, NewKindsTakeConstantDataUnlessDrawnInTheInputPane)
{
    struct Case
    {
        const char* name;
        int type;
        int side;
        BOOL constant;
    };
    const Case cases[] = {
        {"element drawn", T::XmlElement, PaneSide::Input, FALSE},
        {"element inserted", T::XmlElement, 0, TRUE},
        {"attribute drawn", T::XmlAttribute, PaneSide::Input, FALSE},
        {"attribute inserted", T::XmlAttribute, 0, TRUE},
        {"comment drawn", T::XmlComment, PaneSide::Input, FALSE},
        {"comment from output", T::XmlComment, PaneSide::Output, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Drawn off the grid and three lines high, from the bottom right.
        const Rect drawn(74, 60, 23, 7);
        CFormElement* element = doc->CreateNewElement(c.type, c.side, drawn, nullptr);
        ASSERT_NE(element, nullptr);
        EXPECT_EQ(element->SourceRect(), Rect(20, 0, 70, 16)) << "on the grid, one line high";
        EXPECT_TRUE(element->DestRect().IsNull());
        EXPECT_TRUE(element->GetDestRect().IsEmpty());
        EXPECT_EQ(element->GetSourceRect().IsEmpty(), c.constant == TRUE);
        EXPECT_TRUE(element->IgnoresOffset());
    }
}

TEST_F(XmlKindsTest, InstructionHasNoBoxesAndTakesOnlyAttributesAndFlowKinds)
{
    auto* pi = Create<CFormXmlInstructionElement>(T::XmlInstruction, 0, Cells(1, 1, 5, 2));
    EXPECT_TRUE(pi->SourceRect().IsNull());
    EXPECT_TRUE(pi->DestRect().IsNull());

    auto* element = Create<CFormXmlElement>(T::XmlElement, 0, Cells(1, 2, 5, 3));
    auto* attribute = Create<CFormXmlAttributeElement>(T::XmlAttribute, 0, Cells(1, 3, 5, 4));
    auto* comment = Create<CFormXmlCommentElement>(T::XmlComment, 0, Cells(1, 4, 5, 5));
    EXPECT_FALSE(pi->CanContain(element));
    EXPECT_FALSE(pi->CanContain(comment));
    EXPECT_TRUE(pi->CanContain(attribute));
    EXPECT_TRUE(element->CanContain(pi));
    EXPECT_TRUE(element->CanContain(comment));
    EXPECT_FALSE(element->CanContain(nullptr));
    EXPECT_FALSE(doc->MoveElement(pi, element, 1));
    EXPECT_EQ(element->GetParent(), nullptr);
    EXPECT_TRUE(doc->MoveElement(pi, attribute, 1));
    EXPECT_EQ(attribute->GetParent(), pi);
}

TEST_F(XmlKindsTest, SettersFollowTheNameAndMarkTheDocument)
{
    auto* element = Create<CFormXmlElement>(T::XmlElement, 0, Rect());
    doc->ClearDirty();
    EXPECT_TRUE(element->SetName(QStringLiteral("Order")));
    EXPECT_EQ(element->GetDescription(), QStringLiteral("Order"));
    EXPECT_TRUE(doc->IsDirty());
    EXPECT_FALSE(element->SetName(QStringLiteral("Order")));

    // A description typed by the user stays.
    CFormElement::SetDescription(QStringLiteral("mine"), element);
    element->SetAutoDescription(FALSE);
    EXPECT_TRUE(element->SetName(QStringLiteral("Other")));
    EXPECT_TRUE(element->SetValue(QStringLiteral("v")));
    EXPECT_EQ(element->GetDescription(), QStringLiteral("mine"));

    // The flag setter: back to position announces the box once, to
    // constant data also tells the property sheet.
    recorder.hints.clear();
    EXPECT_FALSE(element->SetConstantData(TRUE));
    EXPECT_TRUE(element->SetConstantData(FALSE));
    EXPECT_EQ(recorder.HintNumbers(), (std::vector<LPARAM>{DocumentHint::SourceRectChanged}));
    recorder.hints.clear();
    EXPECT_TRUE(element->SetConstantData(TRUE));
    EXPECT_EQ(recorder.HintNumbers(),
              (std::vector<LPARAM>{DocumentHint::SourceRectChanged, DocumentHint::SelectionChanged}));
}

TEST_F(XmlKindsTest, SelectionAnnouncesTheBoxOnlyForPositions)
{
    auto* drawn = Create<CFormXmlAttributeElement>(T::XmlAttribute, PaneSide::Input, Cells(1, 1, 4, 2));
    auto* constant = Create<CFormXmlAttributeElement>(T::XmlAttribute, 0, Cells(1, 2, 4, 3));
    drawn->Select(FALSE);
    constant->Select(FALSE);
    recorder.hints.clear();
    EXPECT_TRUE(constant->Select(TRUE));
    EXPECT_TRUE(constant->Select(FALSE));
    EXPECT_TRUE(recorder.hints.empty());
    EXPECT_TRUE(drawn->Select(TRUE));
    EXPECT_FALSE(drawn->Select(TRUE));
    EXPECT_TRUE(drawn->Select(FALSE));
    EXPECT_EQ(recorder.HintNumbers(), (std::vector<LPARAM>{242, 242, 242}));
}

TEST_F(XmlKindsTest, MovingKeepsTheBoxOneLineOnThePage)
{
    auto* attribute = Create<CFormXmlAttributeElement>(T::XmlAttribute, 0, Cells(1, 1, 4, 2));
    attribute->Select(FALSE);
    attribute->MoveSource(50, 50, ElementMoveFlags::Left | ElementMoveFlags::Top | ElementMoveFlags::IfSelected, FALSE);
    EXPECT_EQ(attribute->SourceRect(), Cells(1, 1, 4, 2)) << "unselected ignores a move for the selection";
    attribute->MoveSource(10000, 10000, ElementMoveFlags::Left | ElementMoveFlags::Top, TRUE);
    EXPECT_EQ(attribute->SourceRect(), Cells(78, 66, 81, 67)) << "kept on the page";
    EXPECT_TRUE(attribute->GetSourceRect().IsEmpty()) << "constant data draws nothing";
    attribute->ResizeSource(0, 80, ElementMoveFlags::Bottom, FALSE);
    EXPECT_EQ(attribute->SourceRect().Height(), 16);
}

TEST_F(XmlKindsTest, SchemaInfoTexts)
{
    struct Case
    {
        const char* name;
        const char* declaration;
        const char* reference; // occurrence attributes of the element reference
        const char* expected;
    };
    const Case elementCases[] = {
        {"nothing", R"(<ElementType name="E"/>)", "", ""},
        {"everything", R"(<ElementType name="E" content="textOnly" dt:type="int" order="seq" model="closed"/>)",
         R"( minOccurs="0" maxOccurs="*")",
         "Content =\ttextOnly\nType =   \tint\nOrder =  \tseq\nModel =  \tclosed\nOccurs = \t0 - *"},
        {"only a maximum", R"(<ElementType name="E" order="many"/>)", R"( maxOccurs="1")",
         "Order =  \tmany\nOccurs = \t - 1"},
    };
    for (const Case& c : elementCases) {
        SCOPED_TRACE(c.name);
        const std::string xml = std::string(R"(<Schema xmlns="urn:x" xmlns:dt="urn:dt"><ElementType name="R">)")
                                + "<element type=\"E\"" + c.reference + "/></ElementType>" + c.declaration
                                + "</Schema>";
        XmlDocument dom = XmlDocument::Parse(xml.data(), xml.size());
        ASSERT_FALSE(dom.IsNull());
        auto* root = Create<CFormXmlElement>(T::XmlElement, 0, Rect());
        Rect rect(0, 0, 100, 16);
        xmlNode* typeR = XmlSelectNodes(dom.AsNode(), QStringLiteral("/*/*[1]")).at(0);
        ASSERT_TRUE(root->LoadFromSchema(typeR, &rect, 1));
        ASSERT_EQ(root->GetChildCount(), 1);
        auto* child = dynamic_cast<CFormXmlElement*>(root->GetChildList().GetHead());
        ASSERT_NE(child, nullptr);
        QString info = QStringLiteral("stale");
        child->GetSchemaInfo(info);
        EXPECT_EQ(info, QString::fromUtf8(c.expected));
    }

    const Case attributeCases[] = {
        {"enumeration without default",
         R"(<AttributeType name="x" dt:type="enumeration" dt:values="a b" required="yes"/>)", "",
         "Type =    \tenumeration\nValues =  \ta b\nRequired =\tyes"},
        {"default only", R"(<AttributeType name="x" default="7"/>)", "", "Default = \t7\n"},
    };
    for (const Case& c : attributeCases) {
        SCOPED_TRACE(c.name);
        const std::string xml =
            std::string(R"(<Schema xmlns="urn:x" xmlns:dt="urn:dt">)") + c.declaration + "</Schema>";
        XmlDocument dom = XmlDocument::Parse(xml.data(), xml.size());
        ASSERT_FALSE(dom.IsNull());
        auto* attribute = Create<CFormXmlAttributeElement>(T::XmlAttribute, 0, Rect());
        Rect rect(0, 16, 100, 32);
        ASSERT_TRUE(attribute->LoadFromSchema(XmlSelectNodes(dom.AsNode(), QStringLiteral("/*/*[1]")).at(0), &rect, 1));
        EXPECT_EQ(attribute->GetName(), QStringLiteral("x"));
        EXPECT_TRUE(attribute->GetConstantDataFlag());
        QString info;
        attribute->GetSchemaInfo(info);
        EXPECT_EQ(info, QString::fromUtf8(c.expected));
    }
}

TEST_F(XmlKindsTest, RecordsByVersion)
{
    CFormXmlElement* invoice = BuildInvoice();
    struct Case
    {
        const char* name;
        int version;
    };
    const Case cases[] = {{"version 7 has no names", 7}, {"version 8", 8}, {"version 28", 28}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string expected =
            RecordLine(c.version, {{3, "1"}, {4, "XMLE"}, {16, "X1"}, {17, "invoice"}, {30, "invoice"}})
            + RecordLine(c.version,
                         {{3, "2"}, {4, "XMLA"}, {6, "4"}, {7, "3"}, {8, "7"}, {17, "id"}, {18, "1"}, {30, "id"}})
            + RecordLine(c.version, {{3, "3"}, {4, "XMLI"}, {17, "pi"}, {30, "pi"}})
            + RecordLine(c.version, {{3, "4"}, {4, "ENDX"}, {17, "pi"}, {30, "pi"}})
            + RecordLine(c.version, {{3, "5"}, {4, "ENDX"}, {16, "X1"}, {17, "invoice"}, {30, "invoice"}});
        EXPECT_EQ(Export(invoice, c.version), EncodeRecordLines(c.version, expected));
    }
}

TEST_F(XmlKindsTest, CommentRecordCarriesItsTextAndNoName)
{
    auto* comment = Create<CFormXmlCommentElement>(T::XmlComment, 0, Cells(1, 1, 5, 2));
    comment->SetText(QStringLiteral("hello"));
    EXPECT_EQ(comment->GetDescription(), QStringLiteral("hello"));
    EXPECT_EQ(Export(comment, 28),
              EncodeRecordLines(28, RecordLine(28, {{3, "1"}, {4, "XMLC"}, {16, "hello"}, {17, "hello"}})));
}

TEST_F(XmlKindsTest, JvxReadBackGivesTheSameTreeAndBytes)
{
    for (int version : {8, 28}) {
        SCOPED_TRACE(version);
        doc->RemoveAllElements();
        CFormXmlElement* invoice = BuildInvoice();
        const Bytes first = Export(invoice, version);
        doc->DeleteElement(invoice, TRUE);

        auto* read = dynamic_cast<CFormXmlElement*>(ReadFirst(first, version));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->GetName(), QStringLiteral("invoice"));
        EXPECT_TRUE(read->GetConstantDataFlag());
        EXPECT_EQ(read->GetValue(), QStringLiteral("X1"));
        ASSERT_EQ(read->GetChildCount(), 2);
        auto* id = dynamic_cast<CFormXmlAttributeElement*>(read->GetChildList().GetHead());
        auto* pi = dynamic_cast<CFormXmlInstructionElement*>(read->GetChildList().GetTail());
        ASSERT_NE(id, nullptr);
        ASSERT_NE(pi, nullptr);
        EXPECT_EQ(id->GetName(), QStringLiteral("id"));
        EXPECT_FALSE(id->GetConstantDataFlag()) << "an empty data field reads the spooled file";
        EXPECT_EQ(id->GetSourceRect(), Cells(3, 4, 8, 5));
        EXPECT_EQ(pi->GetName(), QStringLiteral("pi"));
        EXPECT_EQ(pi->GetParent(), read);
        EXPECT_TRUE(doc->ContainsElement(id));
        EXPECT_EQ(Export(read, version), first);
    }
}

// Constant data with no value yet, inside a Loop: the records carry no
// position but keep the "+" of the side of the loop's line, and what is read
// from them is constant data again and writes the same records.
TEST_F(XmlKindsTest, EmptyConstantDataInALoopKeepsItsFlagAndSign)
{
    const int version = 28;
    auto* loop = Create<CFormLoopElement>(T::Loop, PaneSide::Input, Cells(1, 3, 20, 9));
    auto* order = Create<CFormXmlElement>(T::XmlElement, 0, Cells(2, 4, 12, 5), loop);
    order->SetName(QStringLiteral("order"));
    auto* id = Create<CFormXmlAttributeElement>(T::XmlAttribute, 0, Cells(3, 5, 13, 6), order);
    id->SetName(QStringLiteral("id"));
    auto* note = Create<CFormXmlCommentElement>(T::XmlComment, 0, Cells(3, 6, 13, 7), order);
    ASSERT_EQ(order->GetParent(), loop);
    ASSERT_EQ(id->GetParent(), order);
    ASSERT_EQ(note->GetParent(), order);
    ASSERT_TRUE(order->GetConstantDataFlag() && id->GetConstantDataFlag() && note->GetConstantDataFlag());

    const Bytes first = Export(loop, version);
    // The lines between the loop's opening and closing records.
    const std::string expected = RecordLine(version, {{3, "2"}, {4, "XMLE"}, {5, "+"}, {17, "order"}, {30, "order"}})
                                 + RecordLine(version, {{3, "3"}, {4, "XMLA"}, {5, "+"}, {17, "id"}, {30, "id"}})
                                 + RecordLine(version, {{3, "4"}, {4, "XMLC"}, {5, "+"}})
                                 + RecordLine(version, {{3, "5"}, {4, "ENDX"}, {5, "+"}, {17, "order"}, {30, "order"}});
    const size_t lineBytes = RecordLine(version, {}).size() * 2;
    ASSERT_EQ(first.size(), 6 * lineBytes);
    EXPECT_EQ(Bytes(first.begin() + static_cast<std::ptrdiff_t>(lineBytes),
                    first.begin() + static_cast<std::ptrdiff_t>(5 * lineBytes)),
              EncodeRecordLines(version, expected));

    doc->DeleteElement(loop, TRUE);
    doc->RemoveAllElements();
    auto* read = dynamic_cast<CFormLoopElement*>(ReadFirst(first, version));
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->GetChildCount(), 1);
    auto* readOrder = dynamic_cast<CFormXmlElement*>(read->GetChildList().GetHead());
    ASSERT_NE(readOrder, nullptr);
    ASSERT_EQ(readOrder->GetChildCount(), 2);
    auto* readId = dynamic_cast<CFormXmlAttributeElement*>(readOrder->GetChildList().GetHead());
    auto* readNote = dynamic_cast<CFormXmlCommentElement*>(readOrder->GetChildList().GetTail());
    ASSERT_NE(readId, nullptr);
    ASSERT_NE(readNote, nullptr);
    EXPECT_TRUE(readOrder->GetConstantDataFlag()) << "element";
    EXPECT_TRUE(readId->GetConstantDataFlag()) << "attribute";
    EXPECT_TRUE(readNote->GetConstantDataFlag()) << "comment";
    EXPECT_TRUE(readId->GetSourceRect().IsEmpty()) << "constant data has no box in the input pane";
    EXPECT_EQ(Export(read, version), first);
}

TEST_F(XmlKindsTest, VersionSevenReadsWithoutNames)
{
    CFormXmlElement* invoice = BuildInvoice();
    const Bytes bytes = Export(invoice, 7);
    auto* read = dynamic_cast<CFormXmlElement*>(ReadFirst(bytes, 7));
    ASSERT_NE(read, nullptr);
    EXPECT_TRUE(read->GetName().isEmpty());
    EXPECT_EQ(read->GetChildCount(), 2);
}

TEST_F(XmlKindsTest, FileEndingInsideAnElementEndsTheReading)
{
    const int version = 28;
    const std::string lines = RecordLine(version, {{3, "1"}, {4, "XMLE"}, {16, "X"}, {30, "outer"}})
                              + RecordLine(version, {{3, "2"}, {4, "XMLI"}, {30, "pi"}})
                              + RecordLine(version, {{3, "3"}, {4, "XMLA"}, {16, "1"}, {30, "a"}});
    auto* read = dynamic_cast<CFormXmlElement*>(ReadFirst(EncodeRecordLines(version, lines), version));
    ASSERT_NE(read, nullptr);
    ASSERT_EQ(read->GetChildCount(), 1);
    auto* pi = dynamic_cast<CFormXmlInstructionElement*>(read->GetChildList().GetHead());
    ASSERT_NE(pi, nullptr);
    ASSERT_EQ(pi->GetChildCount(), 1);
    auto* a = dynamic_cast<CFormXmlAttributeElement*>(pi->GetChildList().GetHead());
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->GetValue(), QStringLiteral("1"));
}

TEST_F(XmlKindsTest, DestroyingHandsTheChildrenToTheContainer)
{
    struct Case
    {
        const char* name;
        int middleType;
    };
    const Case cases[] = {{"element", T::XmlElement}, {"instruction", T::XmlInstruction}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc->RemoveAllElements();
        auto* outer = Create<CFormXmlElement>(T::XmlElement, 0, Cells(1, 1, 5, 2));
        CFormElement* middle = doc->CreateNewElement(c.middleType, 0, Cells(2, 2, 5, 3), outer);
        ASSERT_NE(middle, nullptr);
        auto* first = Create<CFormXmlAttributeElement>(T::XmlAttribute, 0, Cells(3, 3, 5, 4), middle);
        auto* second = Create<CFormXmlAttributeElement>(T::XmlAttribute, 0, Cells(3, 4, 5, 5), middle);
        ASSERT_EQ(first->GetParent(), middle);
        doc->DeleteElement(middle, FALSE);
        EXPECT_EQ(first->GetParent(), outer);
        EXPECT_EQ(second->GetParent(), outer);
        EXPECT_TRUE(doc->ContainsElement(first));
        EXPECT_EQ(outer->GetChildCount(), 2);
    }
}

TEST_F(XmlKindsTest, CommentDescriptionFollowsConstantTextUnlessTyped)
{
    auto* comment = Create<CFormXmlCommentElement>(T::XmlComment, PaneSide::Input, Cells(1, 1, 5, 2));
    comment->SetText(QStringLiteral("kept for later"));
    EXPECT_NE(comment->GetDescription(), QStringLiteral("kept for later")) << "the text is not read yet";
    comment->SetConstantData(TRUE);
    EXPECT_EQ(comment->GetDescription(), QStringLiteral("kept for later"));
    CFormElement::SetDescription(QStringLiteral("typed"), comment);
    comment->SetAutoDescription(FALSE);
    comment->SetText(QStringLiteral("changed"));
    EXPECT_EQ(comment->GetDescription(), QStringLiteral("typed"));
}

TEST_F(XmlKindsTest, PageDataAppliesPositionNameAndData)
{
    auto* attribute = Create<CFormXmlAttributeElement>(T::XmlAttribute, 0, Cells(1, 1, 5, 2));
    XmlPageData page;
    EXPECT_TRUE(attribute->UpdatePageData(page));
    EXPECT_EQ(page.column, 1);
    EXPECT_EQ(page.width, 4);
    EXPECT_TRUE(page.constantData);

    page.column = 6;
    page.line = 3;
    page.width = 2;
    page.name = QStringLiteral("qty");
    EXPECT_TRUE(attribute->ApplyPageData(page, XmlPageBits::Position | XmlPageBits::Width | XmlPageBits::Name));
    EXPECT_FALSE(attribute->GetConstantDataFlag());
    EXPECT_EQ(attribute->GetSourceRect(), Cells(6, 3, 8, 4));
    EXPECT_EQ(attribute->GetName(), QStringLiteral("qty"));

    page.data = QStringLiteral("12");
    EXPECT_TRUE(attribute->ApplyPageData(page, XmlPageBits::ConstantData));
    EXPECT_TRUE(attribute->GetConstantDataFlag());
    EXPECT_EQ(attribute->GetValue(), QStringLiteral("12"));
    EXPECT_FALSE(attribute->ApplyPageData(page, XmlPageBits::ConstantData | XmlPageBits::Name));
}

} // namespace
