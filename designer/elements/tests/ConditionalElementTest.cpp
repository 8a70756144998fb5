#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/elements/FormConditionalElement.h"
#include "platform/framework/Archive.h"
#include "tests/support/ArchiveBytes.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

namespace {

using kwvd::Rect;

class ConditionalElementTest : public ElementDocFixture
{
protected:
    CFormConditionalElement* Add(int side, CFormElement* anchor = nullptr)
    {
        return static_cast<CFormConditionalElement*>(
            doc->CreateNewElement(FormElementType::Conditional, side, Rect(20, 48, 80, 64), anchor));
    }
};

TEST_F(ConditionalElementTest, OperatorCodes)
{
    struct Case
    {
        const char* name;
        const char* code;
        short op;
    };
    const Case cases[] = {
        {"equal", "EQ", 0}, {"not equal", "NE", 1},        {"greater", "GT", 2},
        {"less", "LT", 3},  {"greater or equal", "GE", 4}, {"less or equal", "LE", 5},
        {"blank", "", 4},   {"unknown", "XX", 4},          {"lower case", "eq", 4},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAPRTPDMRec record(doc.get());
        record.m_comparison.SetValue(QString::fromLatin1(c.code));
        EXPECT_EQ(CFormConditionalElement::OperatorFromCode(record), c.op);
    }
    CAPRTPDMRec record(doc.get());
    EXPECT_TRUE(CFormConditionalElement::SetOperatorCode(record, 5));
    EXPECT_EQ(record.m_comparison.GetValue(), QStringLiteral("LE"));
    EXPECT_FALSE(CFormConditionalElement::SetOperatorCode(record, 6));
    EXPECT_TRUE(record.m_comparison.GetValue().isEmpty());
}

TEST_F(ConditionalElementTest, SubjectDecidesRecordAndPane)
{
    CFormConditionalElement* drawn = Add(PaneSide::Input);
    CFormConditionalElement* inserted = Add(0);
    ASSERT_NE(drawn, nullptr);
    ASSERT_NE(inserted, nullptr);
    EXPECT_EQ(drawn->GetSubject(), QStringLiteral("POSITION"));
    EXPECT_EQ(inserted->GetSubject(), QStringLiteral("PAGE"));
    EXPECT_EQ(drawn->SourceRect(), Rect(20, 48, 80, 64));
    EXPECT_FALSE(drawn->GetSourceRect().IsNull());
    EXPECT_TRUE(inserted->GetSourceRect().IsNull());
    EXPECT_EQ(inserted->HitTestSource(QPoint(30, 50)), nullptr);
    EXPECT_FALSE(inserted->SetOperator(7));
    EXPECT_TRUE(inserted->SetOperator(3));
    EXPECT_EQ(inserted->GetDescription(), QStringLiteral("PAGE < "));

    CAPRTPDMRec ifRecord(doc.get());
    ASSERT_TRUE(drawn->ToRecord(ifRecord));
    EXPECT_EQ(ifRecord.m_opcode.GetValue(), QStringLiteral("IF"));
    EXPECT_EQ(ifRecord.m_sourceLine.GetValue(), 4);

    CAPRTPDMRec ifpRecord(doc.get());
    ASSERT_TRUE(inserted->ToRecord(ifpRecord));
    EXPECT_EQ(ifpRecord.m_opcode.GetValue(), QStringLiteral("IFP"));
    EXPECT_EQ(ifpRecord.m_name.GetValue(), QStringLiteral("PAGE"));
    EXPECT_EQ(ifpRecord.m_comparison.GetValue(), QStringLiteral("LT"));
    for (const CFixedLenNum* field : {&ifpRecord.m_sourceLine, &ifpRecord.m_sourceFirstColumn,
                                      &ifpRecord.m_sourceLastColumn, &ifpRecord.m_lineCount})
        EXPECT_EQ(field->GetValue(), 0);
}

TEST_F(ConditionalElementTest, BreakLoopIsLostOnlyOutsideEveryLoop)
{
    TestContainer* firstLoop = AddContainer(FormElementType::Loop);
    TestContainer* secondLoop = AddContainer(FormElementType::Loop);
    CFormConditionalElement* conditional = Add(PaneSide::Input, firstLoop);
    ASSERT_EQ(conditional->GetParent(), firstLoop);
    conditional->SetBreakLoop(TRUE);

    ASSERT_TRUE(doc->ReparentElement(conditional, secondLoop));
    EXPECT_TRUE(conditional->GetBreakLoop());
    ASSERT_TRUE(doc->ReparentElement(conditional, nullptr));
    EXPECT_FALSE(conditional->GetBreakLoop());
}

TEST_F(ConditionalElementTest, RefusesLoopsUpTheChain)
{
    TestContainer* xml = AddContainer(FormElementType::XmlInstruction);
    CFormConditionalElement* conditional = Add(PaneSide::Input, xml);
    ASSERT_EQ(conditional->GetParent(), xml);
    TestLeaf loop(doc.get(), FormElementType::Loop);
    TestLeaf comment(doc.get(), FormElementType::XmlComment);
    TestLeaf variable(doc.get(), FormElementType::Variable);
    EXPECT_FALSE(conditional->CanContain(&loop));
    EXPECT_FALSE(conditional->CanContain(&comment)) << "the XML instruction above refuses it";
    EXPECT_TRUE(conditional->CanContain(&variable));
}

TEST_F(ConditionalElementTest, WvdRoundTripKeepsItsOwnFields)
{
    CFormConditionalElement* conditional = Add(0);
    conditional->SetCompareValue(QStringLiteral("X"));
    conditional->SetOperator(2);
    const Bytes stored = Store([&](CArchive& ar) { ar.WriteObject(conditional); });
    CFormConditionalElement* read = nullptr;
    Load(stored, [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        read = ar.ReadObject<CFormConditionalElement>();
    });
    std::unique_ptr<CFormConditionalElement> owned(read);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetSubject(), QStringLiteral("PAGE"));
    EXPECT_EQ(read->GetOperator(), 2);
    EXPECT_EQ(read->GetCompareValue(), QStringLiteral("X"));
    EXPECT_TRUE(read->DestRect().IsNull());
}

} // namespace
