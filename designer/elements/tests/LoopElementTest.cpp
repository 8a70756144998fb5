#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormLoopElement.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

namespace {

using kwvd::Rect;

// Input page 80 x 66 cells, output page 80 x 50 cells, both of 10 x 16.
class LoopElementTest : public ElementDocFixture
{
protected:
    void SetUp() override
    {
        ElementDocFixture::SetUp();
        ASSERT_TRUE(doc->GetSourcePage()->SetSizeInCells(80, 66));
        ASSERT_TRUE(doc->GetOutputPage()->SetSizeInCells(80, 50));
        ASSERT_EQ(doc->GetOutputPage()->GetPixelHeight(), 800);
    }

    static Rect Lines(int first, int last, int right = 800) { return Rect(0, (first - 1) * 16, right, last * 16); }

    CFormLoopElement* AddLoop(int first, int last)
    {
        return static_cast<CFormLoopElement*>(doc->CreateNewElement(
            FormElementType::Loop, PaneSide::Input, Rect(35, (first - 1) * 16 + 3, 120, last * 16 - 2), nullptr));
    }
};

TEST_F(LoopElementTest, ArrangeRectsByMode)
{
    struct Case
    {
        const char* name;
        int mode;
        int first;
        int last;
        Rect source;
        Rect dest;
    };
    const Case cases[] = {
        {"fixed height copies the lines", LoopMode::FixedHeight, 10, 12, Lines(10, 12), Lines(10, 12)},
        {"fixed height ends at the output bottom", LoopMode::FixedHeight, 45, 60, Lines(45, 60), Lines(45, 50)},
        {"page end", LoopMode::ToPageEnd, 10, 12, Lines(10, 66), Lines(10, 50)},
        {"document end", LoopMode::ToDocumentEnd, 10, 12, Lines(10, 66), Lines(10, 50)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormLoopElement* loop = AddLoop(c.first, c.last);
        ASSERT_NE(loop, nullptr);
        loop->SetLoopMode(c.mode);
        loop->ArrangeRects();
        EXPECT_EQ(loop->SourceRect(), c.source);
        EXPECT_EQ(loop->DestRect(), c.dest);
        doc->DeleteElement(loop, TRUE);
    }
}

TEST_F(LoopElementTest, BackToFixedHeightKeepsTheStretchedSource)
{
    CFormLoopElement* loop = AddLoop(10, 12);
    loop->SetLoopMode(LoopMode::ToPageEnd);
    loop->ArrangeRects();
    loop->SetLoopMode(LoopMode::FixedHeight);
    loop->ArrangeRects();
    EXPECT_EQ(loop->SourceRect(), Lines(10, 66));
    EXPECT_EQ(loop->DestRect(), Lines(10, 50));
}

TEST_F(LoopElementTest, MovedDestinationStopsFollowing)
{
    CFormLoopElement* loop = AddLoop(10, 12);
    loop->MoveDest(0, 20 * 16, ElementMoveFlags::Top, TRUE);
    EXPECT_FALSE(loop->GetDestFollowsSource());
    EXPECT_EQ(loop->DestRect(), Lines(21, 23));
    loop->MoveSource(0, 2 * 16, ElementMoveFlags::Top, TRUE);
    EXPECT_EQ(loop->SourceRect(), Lines(3, 5));
    EXPECT_EQ(loop->DestRect(), Lines(21, 23));
}

TEST_F(LoopElementTest, RecordDataGivesFlagAndMode)
{
    struct Case
    {
        const char* name;
        const char* data;
        int lineCount;
        BYTE docType;
        BOOL increment;
        int mode;
    };
    const Case cases[] = {
        {"one character with lines", "Y", 3, 0, TRUE, LoopMode::FixedHeight},
        {"one character without lines", "Y", 0, 0, TRUE, LoopMode::ToPageEnd},
        {"XML document never increments", "Y", 3, 1, FALSE, LoopMode::FixedHeight},
        {"empty data", "", 3, 0, FALSE, LoopMode::FixedHeight},
        {"document end", " 2", 3, 0, FALSE, LoopMode::ToDocumentEnd},
        {"page end", "Y1", 3, 0, TRUE, LoopMode::ToPageEnd},
        {"unknown digit without lines", " 7", 0, 0, FALSE, LoopMode::ToPageEnd},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        doc->SetDocType(c.docType);
        CAPRTPDMRec record(doc.get());
        record.m_opcode.SetValue(QStringLiteral("LOOP"));
        record.m_sourceLine.SetValue(10);
        record.m_sourceFirstColumn.SetValue(1);
        record.m_sourceLastColumn.SetValue(80);
        record.m_lineCount.SetValue(c.lineCount);
        record.m_data.SetValue(QString::fromLatin1(c.data));
        JvxReader in(Bytes(), 28, nullptr, doc.get());
        CFormLoopElement loop(record, in.Archive());
        EXPECT_EQ(loop.GetIncrementOnSuccess(), c.increment);
        EXPECT_EQ(loop.GetLoopMode(), c.mode);
        EXPECT_TRUE(loop.GetDestFollowsSource());
    }
}

TEST_F(LoopElementTest, EndRecordCarriesTheLastLine)
{
    CFormLoopElement* loop = AddLoop(10, 12);
    doc->m_jvxRecordCounter = 1;
    const Bytes bytes = StoreJvx(
        13, [&](CJVXArchive& ar) { loop->ExportJVX(ar); }, nullptr, doc.get());
    doc->DeleteElement(loop, TRUE);

    JvxReader in(bytes, 13, nullptr, doc.get());
    CAPRTPDMRec record(doc.get());
    record.ExchangeJVX(in.Archive());
    ASSERT_TRUE(record.IsValid());
    // A LOOP record that lost its line count: only ENDL tells the height.
    record.m_lineCount.SetValue(1);
    record.m_data.SetValue(QStringLiteral(" 0"));
    std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
    auto* readLoop = dynamic_cast<CFormLoopElement*>(read.get());
    ASSERT_NE(readLoop, nullptr);
    EXPECT_EQ(readLoop->SourceRect(), Lines(10, 12));
    EXPECT_EQ(readLoop->DestRect(), Lines(10, 12));

    JvxReader again(bytes, 13, nullptr, doc.get());
    CAPRTPDMRec loopRecord(doc.get());
    loopRecord.ExchangeJVX(again.Archive());
    CAPRTPDMRec end(doc.get());
    end.ExchangeJVX(again.Archive());
    EXPECT_EQ(end.m_opcode.GetValue(), QStringLiteral("ENDL"));
    EXPECT_EQ(end.m_sourceLine.GetValue(), 12);
    EXPECT_EQ(end.m_sequence.GetValue(), 2);
}

TEST_F(LoopElementTest, XmlDocumentWritesDocumentEndAtAnyVersion)
{
    doc->SetDocType(1);
    CFormLoopElement* loop = AddLoop(10, 12);
    loop->SetLoopMode(LoopMode::ToDocumentEnd);
    const Bytes bytes = StoreJvx(
        12, [&](CJVXArchive& ar) { loop->ExportJVX(ar); }, nullptr, doc.get());
    JvxReader in(bytes, 12, nullptr, doc.get());
    CAPRTPDMRec record(doc.get());
    record.ExchangeJVX(in.Archive());
    EXPECT_EQ(record.m_data.GetValue(), QStringLiteral(" 2"));
    EXPECT_TRUE(prompts->Recorded().empty());
}

} // namespace
