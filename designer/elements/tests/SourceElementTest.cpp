#include "tests/support/TextElementFixture.h"

#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/elements/FormSourceElement.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include <QImage>
#include <QPainter>

using kwvd::Rect;

namespace {

constexpr int kMoveXY = ElementMoveFlags::Left | ElementMoveFlags::Top;

class SourceElementTest : public TextElementFixture
{
protected:
    void SetUp() override
    {
        TextElementFixture::SetUp();
        // Line 30 makes the page 60 columns by 30 lines.
        SetSpooledPage({"",
                        "    INVOICE  12",
                        "    CUSTOMER NAME",
                        "",
                        "    TOTAL    99",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "",
                        "                                                          END"});
    }

    // Drawn in the input pane, as the view does it.
    CFormSourceElement* Draw(const Rect& sourceCells)
    {
        auto* element = static_cast<CFormSourceElement*>(
            doc->CreateNewElement(FormElementType::Source, PaneSide::Input, sourceCells, nullptr));
        EXPECT_NE(element, nullptr);
        return element;
    }

    CAPRTPDMRec RecordOf(CFormSourceElement& element)
    {
        CAPRTPDMRec record(doc.get());
        EXPECT_TRUE(element.ToRecord(record));
        return record;
    }
};

TEST_F(SourceElementTest, NewElementTakesTheTextUnderItsSource)
{
    ASSERT_EQ(doc->GetSourcePage()->GetCellWidth(), doc->GetOutputPage()->GetCellWidth());
    // Columns 5 to 14, lines 3 to 4.
    CFormSourceElement* e = Draw(SourceCells(5, 3, 15, 5));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->GetLines(), (QStringList{QStringLiteral("CUSTOMER N"), QString()}));
    EXPECT_EQ(e->GetDescription(), QStringLiteral("CUSTOMER N"));
    EXPECT_FALSE(e->IsAutoDescription());
    EXPECT_TRUE(e->IsSelected());
    EXPECT_EQ(e->SourceRect(), SourceCells(5, 3, 15, 5));
    EXPECT_EQ(e->DestRect(), OutputCells(5, 3, 15, 5));
    EXPECT_EQ(e->GetSampleText(), QStringLiteral("CUSTOMER N"));
}

TEST_F(SourceElementTest, ShortFirstLineIsPaddedToTheSourceWidth)
{
    // Line 2 ends at column 15; the source reaches column 20.
    CFormSourceElement* e = Draw(SourceCells(10, 2, 21, 4));
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->GetLines().size(), 2);
    EXPECT_EQ(e->GetLines().at(0), QStringLiteral("CE  12     "));
    EXPECT_EQ(e->GetLines().at(1), QStringLiteral("MER NAME"));
}

TEST_F(SourceElementTest, DestinationIsFittedToTheWidestLineInItsFont)
{
    struct Case
    {
        const char* name;
        int fontIndex;
        int advance; // output pixels per character; 0 for no font
        int widthAdjust;
    };
    // The cell is 10 pixels wide; the source 10 columns.
    const Case cases[] = {
        {"default font keeps the source size", 0, 0, 0},
        {"a font of grid width needs nothing", 2, 10, 0},
        {"a font narrower than the grid never shrinks it", 3, 6, 0},
        {"25 cells for 10 columns", 4, 25, 15},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.fontIndex != 0)
            AddFixedFont(c.fontIndex, c.advance);
        CFormSourceElement* e = Draw(SourceCells(5, 3, 15, 5));
        ASSERT_NE(e, nullptr);
        e->SetFontIndex(c.fontIndex);
        ASSERT_EQ(e->GetFontIndex(), c.fontIndex);
        EXPECT_TRUE(e->NeedsFit());

        QImage image(800, 600, QImage::Format_RGB32);
        QPainter painter(&image);
        e->DrawDest(painter);
        painter.end();

        EXPECT_FALSE(e->NeedsFit());
        EXPECT_EQ(e->GetWidthAdjust(), c.widthAdjust);
        EXPECT_EQ(e->GetHeightAdjust(), 0);
        EXPECT_EQ(e->DestRect(), OutputCells(5, 3, 15 + c.widthAdjust, 5));
        // The page shows the source size whatever the font needs.
        SourcePageData page;
        e->UpdatePage(page);
        EXPECT_EQ(page.width, 10);
        EXPECT_EQ(page.height, 2);
        // The record's last column leaves the adjust out.
        CAPRTPDMRec record = RecordOf(*e);
        EXPECT_EQ(record.m_destFirstColumn.GetShort(), 5);
        EXPECT_EQ(record.m_destLastColumn.GetShort(), 14);
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(SourceElementTest, AnUndrawnElementIsFittedBeforeItIsWritten)
{
    AddFixedFont(1, 25);
    CFormSourceElement* e = Draw(SourceCells(5, 3, 15, 5));
    ASSERT_NE(e, nullptr);
    e->SetFontIndex(1);
    ASSERT_TRUE(e->NeedsFit());

    const Bytes wvd = Store([&](CArchive& ar) { e->Serialize(ar); });
    EXPECT_FALSE(e->NeedsFit());
    EXPECT_EQ(e->GetWidthAdjust(), 15);
    EXPECT_EQ(e->DestRect(), OutputCells(5, 3, 30, 5));

    CFormSourceElement read;
    Load(wvd, [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        read.Serialize(ar);
    });
    EXPECT_EQ(read.GetWidthAdjust(), 15);
    EXPECT_EQ(read.DestRect(), OutputCells(5, 3, 30, 5));
    EXPECT_EQ(read.GetFontIndex(), 1);
}

TEST_F(SourceElementTest, DestinationFollowsItsSourceUntilMovedAlone)
{
    struct Step
    {
        const char* name;
        bool moveDest; // else the source
        bool resize;
        int dx;
        int dy;
        Rect expectedSource; // cells
        Rect expectedDest;   // cells, before any refit
        bool linkedAfter;
    };
    const Step steps[] = {
        {"source move takes the destination along", false, false, 20, 32, {7, 5, 17, 7}, {7, 5, 17, 7}, true},
        {"source resize too", false, true, 30, 0, {7, 5, 20, 7}, {7, 5, 20, 7}, true},
        {"a destination move alone unlinks", true, false, 10, 0, {7, 5, 20, 7}, {8, 5, 21, 7}, false},
        {"later source moves leave the destination", false, false, 0, 16, {7, 6, 20, 8}, {8, 5, 21, 7}, false},
        {"and so do source resizes", false, true, 10, 0, {7, 6, 21, 8}, {8, 5, 21, 7}, false},
    };
    CFormSourceElement* e = Draw(SourceCells(5, 3, 15, 5));
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(e->FollowsSource());
    for (const Step& s : steps) {
        SCOPED_TRACE(s.name);
        if (s.resize && s.moveDest)
            e->ResizeDest(s.dx, s.dy, ElementMoveFlags::Right, FALSE);
        else if (s.resize)
            e->ResizeSource(s.dx, s.dy, ElementMoveFlags::Right, FALSE);
        else if (s.moveDest)
            e->MoveDest(s.dx, s.dy, kMoveXY, FALSE);
        else
            e->MoveSource(s.dx, s.dy, kMoveXY, FALSE);
        const Rect& es = s.expectedSource;
        const Rect& ed = s.expectedDest;
        EXPECT_EQ(e->SourceRect(), SourceCells(es.left, es.top, es.right, es.bottom));
        EXPECT_EQ(e->DestRect(), OutputCells(ed.left, ed.top, ed.right, ed.bottom));
        EXPECT_EQ(e->FollowsSource(), s.linkedAfter ? TRUE : FALSE);
    }
}

TEST_F(SourceElementTest, MovingTheSourceRereadsItsText)
{
    CFormSourceElement* e = Draw(SourceCells(5, 2, 12, 3));
    ASSERT_NE(e, nullptr);
    ASSERT_EQ(e->GetLines(), QStringList{QStringLiteral("INVOICE")});
    e->MoveSource(0, 3 * doc->GetSourcePage()->GetCellHeight(), kMoveXY, FALSE);
    EXPECT_EQ(e->GetLines(), QStringList{QStringLiteral("TOTAL  ")});
}

TEST_F(SourceElementTest, RecordFieldsAndTheirReading)
{
    struct Case
    {
        const char* name;
        int fontIndex;
        BOOL align;
        const char* field19;
        const char* field25;
    };
    const Case cases[] = {
        {"default font writes an empty field", 0, FALSE, "", ""},
        {"font 3 writes its digit", 3, FALSE, "3", ""},
        {"aligned to the grid", 0, TRUE, "", "1"},
    };
    AddFixedFont(3, 10);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormSourceElement* e = Draw(SourceCells(5, 3, 15, 5));
        ASSERT_NE(e, nullptr);
        SourcePageData page;
        e->UpdatePage(page);
        page.fontIndex = c.fontIndex;
        page.alignToGrid = c.align;
        e->ApplyPage(page, SourcePageData::Font | SourcePageData::AlignToGrid);

        CAPRTPDMRec record = RecordOf(*e);
        EXPECT_EQ(record.m_opcode.GetValue(), QStringLiteral("COPY"));
        EXPECT_EQ(record.m_fontIndex.GetValue(), QString::fromLatin1(c.field19));
        EXPECT_EQ(record.m_flag.GetValue(), QString::fromLatin1(c.field25));
        EXPECT_EQ(record.m_sourceFirstColumn.GetShort(), 5);
        EXPECT_EQ(record.m_sourceLastColumn.GetShort(), 14);
        EXPECT_EQ(record.m_sourceLine.GetShort(), 3);
        EXPECT_EQ(record.m_lineCount.GetShort(), 2);

        // Through the file and back.
        const Bytes line = StoreJvx(
            28, [&](CJVXArchive& ar) { e->ExportJVX(ar); }, nullptr, doc.get());
        JvxReader in(line, 28, nullptr, doc.get());
        CAPRTPDMRec readRecord(doc.get());
        readRecord.ExchangeJVX(in.Archive());
        ASSERT_TRUE(readRecord.IsValid());
        std::unique_ptr<CFormElement> read(readRecord.CreateElement(in.Archive()));
        auto* source = dynamic_cast<CFormSourceElement*>(read.get());
        ASSERT_NE(source, nullptr);
        EXPECT_EQ(source->GetFontIndex(), c.fontIndex);
        EXPECT_EQ(source->GetAlignToGrid(), c.align);
        EXPECT_EQ(source->SourceRect(), SourceCells(5, 3, 15, 5));
        EXPECT_EQ(source->GetLines().first(), QStringLiteral("CUSTOMER N"));
        read.reset();
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(SourceElementTest, FontDigitOfARecordOutsideTheSlotsGivesTheDefault)
{
    AddFixedFont(3, 10);
    struct Case
    {
        const char* name;
        const char* field19;
        int expected;
    };
    const Case cases[] = {
        {"a used slot", "3", 3}, {"past the last slot", ":", 0}, {"below zero", "/", 0},
        {"a letter", "A", 0},    {"an empty slot", "5", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAPRTPDMRec record(doc.get());
        record.m_opcode.SetValue(QStringLiteral("COPY"));
        record.m_fontIndex.SetValue(QString::fromLatin1(c.field19));
        record.m_sourceFirstColumn.SetValue(1);
        record.m_sourceLastColumn.SetValue(4);
        record.m_sourceLine.SetValue(1);
        record.m_destFirstColumn.SetValue(1);
        record.m_destLastColumn.SetValue(4);
        record.m_destLine.SetValue(1);
        record.m_lineCount.SetValue(1);
        record.m_flag.SetValue(QStringLiteral("1"));
        CFormSourceElement e(record);
        EXPECT_EQ(e.GetFontIndex(), c.expected);
        EXPECT_TRUE(e.GetAlignToGrid());
    }
}

TEST_F(SourceElementTest, WvdPartByStoredSchema)
{
    AddFixedFont(3, 10);
    CFormSourceElement* e = Draw(SourceCells(5, 3, 15, 5));
    ASSERT_NE(e, nullptr);
    e->SetFontIndex(3);
    SourcePageData page;
    page.alignToGrid = TRUE;
    e->ApplyPage(page, SourcePageData::AlignToGrid);
    e->MoveDest(10, 0, kMoveXY, FALSE); // unlinked

    const Bytes bytes = Store([&](CArchive& ar) { e->Serialize(ar); });
    // follows source (WORD), font index, align (LONGs) close the object.
    const Bytes tail = Hex("00 00 03 00 00 00 01 00 00 00");
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(Bytes(bytes.end() - static_cast<std::ptrdiff_t>(tail.size()), bytes.end()), tail);

    CFormSourceElement current;
    Load(bytes, [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        current.Serialize(ar);
    });
    EXPECT_FALSE(current.FollowsSource());
    EXPECT_EQ(current.GetFontIndex(), 3);
    EXPECT_TRUE(current.GetAlignToGrid());
    EXPECT_EQ(current.GetLines().first(), QStringLiteral("CUSTOMER N"));

    // Schema 4 objects end after the font index.
    const Bytes old(bytes.begin(), bytes.end() - 4);
    CFormSourceElement schema4;
    Load(old, [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        ar.SetObjectSchema(4);
        schema4.Serialize(ar);
    });
    EXPECT_EQ(schema4.GetFontIndex(), 3);
    EXPECT_FALSE(schema4.GetAlignToGrid());

    // A cut object is an error, not a half-read element.
    const Bytes cut(bytes.begin(), bytes.end() - 6);
    CFormSourceElement broken;
    EXPECT_THROW(Load(cut,
                      [&](CArchive& ar) {
                          ar.m_pDocument = doc.get();
                          broken.Serialize(ar);
                      }),
                 CArchiveException);
}

TEST_F(SourceElementTest, AnUnusableFontFallsBackAtRevalidation)
{
    CAS400Font* font = AddFixedFont(2, 10);
    CFormSourceElement* e = Draw(SourceCells(5, 3, 15, 5));
    ASSERT_NE(e, nullptr);
    ASSERT_TRUE(e->SetFontIndex(2));
    // Index 0 takes the very same record: index 2 is no longer a font of its own.
    OutputFonts().GetFontList().SetPrimaryFont(0, font);
    e->Revalidate(0);
    EXPECT_EQ(e->GetFontIndex(), 0);
    EXPECT_EQ(OutputFonts().GetFontList().GetHolder(2), nullptr);
}

} // namespace
