#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/elements/FormRemarkElement.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using kwvd::Rect;

class RemarkElementTest : public ElementDocFixture
{
protected:
    CFormRemarkElement* AddRemark()
    {
        auto* remark = static_cast<CFormRemarkElement*>(doc->CreateNewElement(FormElementType::Remark, 0, {}, nullptr));
        EXPECT_NE(remark, nullptr);
        return remark;
    }
};

TEST_F(RemarkElementTest, DescriptionFollowsTheTextWhileAutomatic)
{
    CFormRemarkElement* remark = AddRemark();
    EXPECT_TRUE(remark->SetRemark(QStringLiteral("  check the totals \n")));
    EXPECT_EQ(remark->GetDescription(), QStringLiteral("check the totals"));
    EXPECT_FALSE(remark->SetRemark(QStringLiteral("  check the totals \n")));

    const QString longText(70, QLatin1Char('r'));
    remark->SetRemark(longText);
    EXPECT_EQ(remark->GetDescription(), longText.left(50));
    EXPECT_EQ(remark->GetRemark(), longText);

    remark->SetAutoDescription(FALSE);
    remark->SetRemark(QStringLiteral("other"));
    EXPECT_EQ(remark->GetDescription(), longText.left(50));
}

TEST_F(RemarkElementTest, FindAndReplaceCoverTheText)
{
    struct Case
    {
        const char* name;
        QString find;
        QString replace;
        bool found;
        bool replaced;
        QString remark;
        QString description;
    };
    const Case cases[] = {
        {"only in the text", QStringLiteral("totals"), QStringLiteral("sums"), true, true,
         QStringLiteral("note: check sums"), QStringLiteral("Note")},
        {"in both", QStringLiteral("ote"), QStringLiteral("OTE"), true, true, QStringLiteral("nOTE: check totals"),
         QStringLiteral("NOTE")},
        {"nowhere", QStringLiteral("xyz"), QStringLiteral("a"), false, false, QStringLiteral("note: check totals"),
         QStringLiteral("Note")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormRemarkElement* remark = AddRemark();
        remark->SetAutoDescription(FALSE);
        CFormElement::SetDescription(QStringLiteral("Note"), remark);
        remark->SetRemark(QStringLiteral("note: check totals"));
        EXPECT_EQ(remark->Find(c.find), c.found ? TRUE : FALSE);
        EXPECT_EQ(remark->Replace(c.find, c.replace), c.replaced ? TRUE : FALSE);
        EXPECT_EQ(remark->GetRemark(), c.remark);
        EXPECT_EQ(remark->GetDescription(), c.description);
    }
}

TEST_F(RemarkElementTest, NoRecordAndNoBoxes)
{
    CFormRemarkElement* remark = AddRemark();
    remark->SetRemark(QStringLiteral("text"));
    EXPECT_TRUE(StoreJvx(
                    28, [&](CJVXArchive& ar) { remark->ExportJVX(ar); }, nullptr, doc.get())
                    .empty());
    CAPRTPDMRec record(doc.get());
    EXPECT_FALSE(remark->ToRecord(record));
    recorder.hints.clear();
    EXPECT_TRUE(remark->Select(TRUE));
    EXPECT_TRUE(recorder.hints.empty());
}

TEST_F(RemarkElementTest, WvdObjectLoadsWithoutRectangles)
{
    // A remark stored with boxes on both pages: they are not kept.
    const Bytes body = Hex("FF FE FF 01 4E 00") // "N"
                       + Word(3) + Word(3) + Word(6) + Word(5) + Word(1) + Word(1) + Word(4) + Word(4) + Word(0)
                       + Word(0) + Hex("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00") + Word(0)
                       + Hex("FF FE FF 04 74 00 65 00 78 00 74 00"); // "text"
    const Bytes bytes = Hex("FF FF 14 00") + Word(18) + Ascii("CFormRemarkElement") + body;
    CFormRemarkElement* read = nullptr;
    Load(bytes, [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        read = ar.ReadObject<CFormRemarkElement>();
    });
    std::unique_ptr<CFormRemarkElement> owned(read);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetRemark(), QStringLiteral("text"));
    EXPECT_EQ(read->GetDescription(), QStringLiteral("N"));
    EXPECT_TRUE(read->SourceRect().IsNull());
    EXPECT_TRUE(read->DestRect().IsNull());
    EXPECT_EQ(read->HitTestSource(QPoint(0, 0)), nullptr);
    EXPECT_EQ(read->HitTestDest(QPoint(0, 0)), nullptr);

    // Written back: the body of the base part with 1, 1, 1, 1 for each box, then the text.
    const Bytes stored = Store([&](CArchive& ar) { read->Serialize(ar); });
    EXPECT_EQ(stored, Hex("FF FE FF 01 4E 00") + Word(1) + Word(1) + Word(1) + Word(1) + Word(1) + Word(1) + Word(1)
                          + Word(1) + Word(0) + Word(0) + Hex("00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00")
                          + Word(0) + Hex("FF FE FF 04 74 00 65 00 78 00 74 00"));
}

} // namespace
