#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/elements/FormEraserElement.h"
#include "designer/preferences/Preferences.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxBytes.h"

#include "ElementTestKinds.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <memory>

namespace {

using kwvd::Rect;

class EraserElementTest : public ElementDocFixture
{
protected:
    CFormEraserElement* AddEraser(const Rect& rect)
    {
        auto* eraser = static_cast<CFormEraserElement*>(
            doc->CreateNewElement(FormElementType::Eraser, PaneSide::Output, rect, nullptr));
        EXPECT_NE(eraser, nullptr);
        return eraser;
    }
};

TEST_F(EraserElementTest, NewEraserSnapsToTheNearestCells)
{
    ASSERT_EQ(doc->GetOutputPage()->GetCellWidth(), 10);
    ASSERT_EQ(doc->GetOutputPage()->GetCellHeight(), 16);
    const int pageWidth = doc->GetOutputPage()->GetPixelWidth();
    struct Case
    {
        const char* name;
        Rect drawn;
        Rect expected;
    };
    const Case cases[] = {
        {"half a cell snaps back", Rect(14, 8, 26, 25), Rect(10, 0, 30, 32)},
        {"drawn backwards", Rect(26, 25, 14, 8), Rect(10, 0, 30, 32)},
        {"smaller than a cell", Rect(2, 2, 4, 4), Rect(0, 0, 10, 16)},
        {"past the right edge", Rect(pageWidth - 15, 0, pageWidth + 24, 16), Rect(pageWidth - 40, 0, pageWidth, 16)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormEraserElement* eraser = AddEraser(c.drawn);
        EXPECT_EQ(eraser->DestRect(), c.expected);
        EXPECT_TRUE(eraser->SourceRect().IsNull());
        EXPECT_EQ(eraser->GetOffset(), QPoint(0, 0));
    }
}

TEST_F(EraserElementTest, MovesAndResizesStayOnWholeCells)
{
    constexpr int kMoveXY = ElementMoveFlags::Left | ElementMoveFlags::Top;
    struct Case
    {
        const char* name;
        bool resize;
        int x, y, flags;
        BOOL absolute;
        Rect expected;
    };
    const Case cases[] = {
        {"three pixels right snaps back", false, 3, 0, kMoveXY, FALSE, Rect(10, 0, 30, 32)},
        {"unsnapped move to the nearest cell", false, 6, 0, kMoveXY | ElementMoveFlags::NoSnap, FALSE,
         Rect(20, 0, 40, 32)},
        {"absolute move", false, 25, 40, kMoveXY, TRUE, Rect(20, 32, 40, 64)},
        {"unsnapped resize to the nearest cell", true, 4, 0, ElementMoveFlags::Right | ElementMoveFlags::NoSnap, FALSE,
         Rect(10, 0, 30, 32)},
        {"resize by a cell", true, 10, 0, ElementMoveFlags::Right, FALSE, Rect(10, 0, 40, 32)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormEraserElement* eraser = AddEraser(Rect(10, 0, 30, 32));
        if (c.resize)
            eraser->ResizeDest(c.x, c.y, c.flags, c.absolute);
        else
            eraser->MoveDest(c.x, c.y, c.flags, c.absolute);
        EXPECT_EQ(eraser->DestRect(), c.expected);
        EXPECT_EQ(eraser->GetOffset(), QPoint(0, 0));
    }
}

TEST_F(EraserElementTest, WvdObjectIsTheBasePartOnly)
{
    CFormEraserElement* eraser = AddEraser(Rect(10, 0, 30, 32));
    const Bytes stored = Store([&](CArchive& ar) { eraser->Serialize(ar); });
    EXPECT_EQ(stored, Hex("FF FE FF 00"             // no description
                          "01 00 01 00 01 00 01 00" // no source
                          "02 00 01 00 04 00 03 00" // columns 2 to 3, lines 1 to 2
                          "00 00 00 00"             // absolute flags
                          "00 00 00 00 00 00 00 00" // adjustments
                          "00 00 00 00 00 00 00 00" // offset
                          "01 00"));                // automatic description
}

TEST_F(EraserElementTest, LoadingNormalises)
{
    // Schema 6 holds pixels: the box drawn at 14,8 to 26,25.
    const Bytes body = Hex("FF FE FF 00") + Word(0) + Word(0) + Word(0) + Word(0) + Word(14) + Word(8) + Word(26)
                       + Word(25) + Word(0) + Word(0) + Hex("00 00 00 00 00 00 00 00") + Hex("00 00 00 00 00 00 00 00")
                       + Word(1);
    const Bytes bytes = Hex("FF FF") + Word(6) + Word(18) + Ascii("CFormEraserElement") + body;
    CFormEraserElement* read = nullptr;
    Load(bytes, [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        read = ar.ReadObject<CFormEraserElement>();
    });
    std::unique_ptr<CFormEraserElement> owned(read);
    ASSERT_NE(read, nullptr);
    // Loading snaps outward to 10,0,30,32 already; the eraser keeps it.
    EXPECT_EQ(read->DestRect(), Rect(10, 0, 30, 32));
    EXPECT_TRUE(read->SourceRect().IsNull());
}

TEST_F(EraserElementTest, BlnkRecordRoundTrip)
{
    CFormEraserElement* eraser = AddEraser(Rect(10, 32, 30, 80));
    const Bytes line = StoreJvx(
        28, [&](CJVXArchive& ar) { eraser->ExportJVX(ar); }, nullptr, doc.get());
    ASSERT_FALSE(line.empty());

    JvxReader in(line, 28, nullptr, doc.get());
    CAPRTPDMRec record(doc.get());
    record.ExchangeJVX(in.Archive());
    ASSERT_TRUE(record.IsValid());
    EXPECT_EQ(record.m_opcode.GetValue(), QStringLiteral("BLNK"));
    EXPECT_EQ(record.m_destLine.GetValue(), 3);
    EXPECT_EQ(record.m_destFirstColumn.GetValue(), 2);
    EXPECT_EQ(record.m_destLastColumn.GetValue(), 3);
    EXPECT_EQ(record.m_lineCount.GetValue(), 3); // the destination's lines, there being no source
    EXPECT_EQ(record.m_sourceLine.GetValue(), 0);

    std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetType(), FormElementType::Eraser);
    EXPECT_EQ(read->DestRect(), Rect(10, 32, 30, 80));
    EXPECT_TRUE(read->SourceRect().IsNull());
    EXPECT_EQ(read->HitTestSource(QPoint(0, 0)), nullptr);
}

TEST_F(EraserElementTest, HatchIsSeenOverTheFill)
{
    const COLORREF saved = Preferences().ColourElementEraser;
    Preferences().ColourElementEraser = 0x0000FF; // red
    CFormEraserElement* eraser = AddEraser(Rect(10, 0, 50, 48));
    QImage image(80, 80, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        eraser->DrawDest(painter);
    }
    int red = 0;
    int other = 0;
    for (int y = 2; y < 46; ++y)
        for (int x = 12; x < 48; ++x)
            (image.pixel(x, y) == qRgb(255, 0, 0) ? red : other)++;
    EXPECT_GT(red, 0);
    EXPECT_GT(other, 0); // the hatch's gaps, in another colour than the fill
    EXPECT_EQ(image.pixel(60, 60), qRgb(0, 0, 0));
    Preferences().ColourElementEraser = saved;
}

TEST_F(EraserElementTest, ColourFollowsTheTable)
{
    const COLORREF saved = Preferences().ColourElementEraser;
    Preferences().ColourElementEraser = 0x112233;
    CFormEraserElement* eraser = AddEraser(Rect(10, 0, 30, 32));
    EXPECT_EQ(eraser->GetColour(), 0x112233u);
    Preferences().ColourElementEraser = 0x445566;
    recorder.hints.clear();
    eraser->Revalidate(0);
    EXPECT_EQ(eraser->GetColour(), 0x445566u);
    EXPECT_EQ(recorder.HintNumbers(), std::vector<LPARAM>{241});
    Preferences().ColourElementEraser = saved;
}

} // namespace
