#include "tests/support/TextElementFixture.h"

#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/elements/FormTextElement.h"
#include "designer/elements/TextFit.h"
#include "platform/framework/ScreenResolution.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/FontFixtures.h"
#include "tests/support/JvxBytes.h"
#include "tests/support/JvxRecordLines.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <cmath>

using kwvd::Rect;

namespace {

class TextElementTest : public TextElementFixture
{
protected:
    // Placed with one click at the cell, as the output pane does it.
    CFormTextElement* Place(int column, int line)
    {
        auto* element = static_cast<CFormTextElement*>(doc->CreateNewElement(
            FormElementType::Text, PaneSide::Output, OutputCells(column, line, column + 1, line + 1), nullptr));
        EXPECT_NE(element, nullptr);
        return element;
    }

    static void DrawOn(CFormElement& element)
    {
        QImage image(1000, 800, QImage::Format_RGB32);
        QPainter painter(&image);
        element.DrawDest(painter);
    }

    CAPRTPDMRec RecordOf(CFormTextElement& element)
    {
        CAPRTPDMRec record(doc.get());
        EXPECT_TRUE(element.ToRecord(record));
        return record;
    }

    // The element's WVD object read into a new element, fitted.
    std::unique_ptr<CFormTextElement> ReloadFromWvd(CFormTextElement& element)
    {
        const Bytes object = Store([&](CArchive& ar) { element.Serialize(ar); });
        auto loaded = std::make_unique<CFormTextElement>();
        Load(object, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            loaded->Serialize(ar);
        });
        loaded->FitDestToText();
        return loaded;
    }
};

TEST_F(TextElementTest, BoxFollowsTheTextInItsFont)
{
    struct Case
    {
        const char* name;
        const char* text;
        int advance; // output pixels per character; 0 keeps the default font
        int widthAdjust;
        int columns; // of the box
        // Of the record: line, first and last column, line count.
        int line;
        int firstColumn;
        int lastColumn;
        int lineCount;
    };
    // The cell is 10 pixels wide; the box starts in column 10.
    const Case cases[] = {
        {"five letters in five cells", "TOTAL", 10, 0, 5, 5, 10, 14, 1},
        {"five letters measuring seven cells", "TOTAL", 14, 2, 7, 5, 10, 14, 1},
        {"no text is one cell wide and the record has no place", "", 10, 1, 1, 0, 0, 0, 0},
        {"no font measures nothing", "TOTAL", 0, 0, 5, 5, 10, 14, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const int fontIndex = c.advance != 0 ? 1 : 0;
        if (fontIndex != 0)
            AddFixedFont(fontIndex, c.advance);
        CFormTextElement* e = Place(10, 5);
        ASSERT_NE(e, nullptr);
        e->SetText(QString::fromLatin1(c.text));
        e->SetFontIndex(fontIndex);
        DrawOn(*e);

        EXPECT_FALSE(e->NeedsFit());
        EXPECT_EQ(e->GetWidthAdjust(), c.widthAdjust);
        EXPECT_EQ(e->GetHeightAdjust(), 0);
        EXPECT_EQ(e->DestRect(), OutputCells(10, 5, 10 + c.columns, 6));
        // The record carries the text's own columns, without the adjust.
        CAPRTPDMRec record = RecordOf(*e);
        EXPECT_EQ(record.m_destFirstColumn.GetShort(), c.firstColumn);
        EXPECT_EQ(record.m_destLastColumn.GetShort(), c.lastColumn);
        EXPECT_EQ(record.m_destLine.GetShort(), c.line);
        EXPECT_EQ(record.m_lineCount.GetShort(), c.lineCount);
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(TextElementTest, UndrawnTextIsFittedAndKeepsItsPlaceThroughJvxAndWvd)
{
    struct Case
    {
        const char* name;
        const char* text;
        int boxRight;   // exclusive cell column of the fitted box
        int lastColumn; // of the record
    };
    // Characters advance 14 pixels in 10-pixel cells; the box starts at 10, 5.
    const Case cases[] = {
        {"five letters measuring seven cells", "TOTAL", 17, 14},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // A slot whose last user went is emptied, so each row sets its font.
        AddFixedFont(1, 14);
        CFormTextElement* e = Place(10, 5);
        ASSERT_NE(e, nullptr);
        e->SetText(QString::fromLatin1(c.text));
        e->SetFontIndex(1);
        ASSERT_TRUE(e->NeedsFit());

        const Bytes line = StoreJvx(
            28, [&](CJVXArchive& ar) { e->ExportJVX(ar); }, nullptr, doc.get());
        EXPECT_EQ(e->DestRect(), OutputCells(10, 5, c.boxRight, 6));

        JvxReader in(line, 28, nullptr, doc.get());
        CAPRTPDMRec record(doc.get());
        record.ExchangeJVX(in.Archive());
        ASSERT_TRUE(record.IsValid());
        EXPECT_EQ(record.m_opcode.GetValue(), QStringLiteral("MOVE"));
        EXPECT_EQ(record.m_data.GetValue(), QString::fromLatin1(c.text));
        EXPECT_EQ(record.m_fontIndex.GetValue(), QStringLiteral("1"));
        EXPECT_EQ(record.m_destLine.GetShort(), 5);
        EXPECT_EQ(record.m_destFirstColumn.GetShort(), 10);
        EXPECT_EQ(record.m_destLastColumn.GetShort(), c.lastColumn);

        std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
        auto* text = dynamic_cast<CFormTextElement*>(read.get());
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->GetText(), QString::fromLatin1(c.text));
        EXPECT_EQ(text->GetFontIndex(), 1);
        EXPECT_TRUE(text->SourceRect().IsNull());
        text->FitDestToText();
        EXPECT_EQ(text->DestRect(), OutputCells(10, 5, c.boxRight, 6));

        EXPECT_EQ(ReloadFromWvd(*e)->DestRect(), OutputCells(10, 5, c.boxRight, 6));
        doc->DeleteElement(e, TRUE);
    }
}

// An empty text prints nothing: its record has no line, no columns and no
// line count, and what is read from it writes the same record again. The
// WVD file still keeps its cell.
TEST_F(TextElementTest, EmptyTextWritesNoPlaceAndReadsBackTheSame)
{
    CFormTextElement* e = Place(10, 5);
    ASSERT_NE(e, nullptr);
    const Bytes line = StoreJvx(
        28, [&](CJVXArchive& ar) { e->ExportJVX(ar); }, nullptr, doc.get());
    // Every position field zero, both signs blank.
    EXPECT_EQ(line, EncodeRecordLines(28, RecordLine(28, {{4, "MOVE"}})));

    JvxReader in(line, 28, nullptr, doc.get());
    CAPRTPDMRec record(doc.get());
    record.ExchangeJVX(in.Archive());
    ASSERT_TRUE(record.IsValid());
    std::unique_ptr<CFormElement> read(record.CreateElement(in.Archive()));
    auto* text = dynamic_cast<CFormTextElement*>(read.get());
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->GetText().isEmpty());
    EXPECT_EQ(StoreJvx(
                  28, [&](CJVXArchive& ar) { text->ExportJVX(ar); }, nullptr, doc.get()),
              line);

    EXPECT_EQ(ReloadFromWvd(*e)->DestRect(), OutputCells(10, 5, 11, 6));
}

TEST_F(TextElementTest, AutomaticDescriptionFollowsTheText)
{
    CFormTextElement* e = Place(1, 1);
    ASSERT_NE(e, nullptr);
    EXPECT_TRUE(e->SetText(QStringLiteral("  Grand total  ")));
    EXPECT_EQ(e->GetDescription(), QStringLiteral("Grand total"));
    EXPECT_TRUE(e->IsAutoDescription());
    EXPECT_FALSE(e->SetText(QStringLiteral("  Grand total  ")));

    const QString longText(60, u'x');
    e->SetText(longText);
    EXPECT_EQ(e->GetDescription(), QString(50, u'x'));

    // Once the user named it, the text no longer does.
    CFormElement::SetDescription(QStringLiteral("Sum line"), e);
    e->SetAutoDescription(FALSE);
    e->SetText(QStringLiteral("TOTAL"));
    EXPECT_EQ(e->GetDescription(), QStringLiteral("Sum line"));
}

TEST_F(TextElementTest, FindAndReplaceCoverTheText)
{
    struct Case
    {
        const char* name;
        const char* description;
        const char* find;
        bool found;
        const char* text;         // after replacing with "SUB"
        const char* description2; // after replacing with "SUB"
    };
    // The text is "TOTAL DUE" in every row.
    const Case cases[] = {
        {"by the text alone", "Sum line", "TOT", true, "SUBAL DUE", "Sum line"},
        {"by the description alone", "Sum line", "Sum", true, "TOTAL DUE", "SUB line"},
        {"in both, both replaced", "TOTAL line", "TOTAL", true, "SUB DUE", "SUB line"},
        {"case counts", "Sum line", "tot", false, "TOTAL DUE", "Sum line"},
        {"nothing to find", "Sum line", "", false, "TOTAL DUE", "Sum line"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CFormTextElement* e = Place(1, 1);
        ASSERT_NE(e, nullptr);
        e->SetText(QStringLiteral("TOTAL DUE"));
        e->SetAutoDescription(FALSE);
        CFormElement::SetDescription(QString::fromLatin1(c.description), e);
        const QString find = QString::fromLatin1(c.find);
        EXPECT_EQ(e->Find(find) != FALSE, c.found);
        EXPECT_EQ(e->Replace(find, QStringLiteral("SUB")) != FALSE, c.found);
        EXPECT_EQ(e->GetText(), QString::fromLatin1(c.text));
        EXPECT_EQ(e->GetDescription(), QString::fromLatin1(c.description2));
        doc->DeleteElement(e, TRUE);
    }
}

TEST_F(TextElementTest, ResizingOnlyRefits)
{
    CFormTextElement* e = Place(10, 5);
    ASSERT_NE(e, nullptr);
    e->SetText(QStringLiteral("TOTAL"));
    e->FitDestToText();
    const Rect before = e->DestRect();
    e->ResizeDest(50, 32, ElementMoveFlags::Right | ElementMoveFlags::Bottom, FALSE);
    EXPECT_EQ(e->DestRect(), before);
    EXPECT_TRUE(e->NeedsFit());
    DrawOn(*e);
    EXPECT_EQ(e->DestRect(), before);

    // An unselected element ignores a request meant for the selection.
    e->Select(FALSE);
    e->FitDestToText();
    e->ResizeDest(50, 32, ElementMoveFlags::Right | ElementMoveFlags::IfSelected, FALSE);
    EXPECT_FALSE(e->NeedsFit());
}

TEST_F(TextElementTest, WvdObjectByStoredSchema)
{
    AddFixedFont(2, 10);
    CFormTextElement* e = Place(3, 4);
    ASSERT_NE(e, nullptr);
    e->SetText(QStringLiteral("TOTAL"));
    e->SetFontIndex(2);
    TextPageData page;
    e->UpdatePage(page);
    page.alignToGrid = TRUE;
    e->ApplyPage(page, TextPageData::AlignToGrid);

    const Bytes bytes = Store([&](CArchive& ar) { e->Serialize(ar); });
    // The text as a wide archive string, then font index and align.
    const Bytes tail = Hex("FF FE FF 05 54 00 4F 00 54 00 41 00 4C 00 02 00 00 00 01 00 00 00");
    ASSERT_GE(bytes.size(), tail.size());
    EXPECT_EQ(Bytes(bytes.end() - static_cast<std::ptrdiff_t>(tail.size()), bytes.end()), tail);

    CFormTextElement current;
    Load(bytes, [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        current.Serialize(ar);
    });
    EXPECT_EQ(current.GetText(), QStringLiteral("TOTAL"));
    EXPECT_EQ(current.GetFontIndex(), 2);
    EXPECT_TRUE(current.GetAlignToGrid());
    EXPECT_TRUE(current.SourceRect().IsNull());
    EXPECT_EQ(current.DestRect(), OutputCells(3, 4, 8, 5));

    // Schema 4 objects end after the font index.
    CFormTextElement schema4;
    Load(Bytes(bytes.begin(), bytes.end() - 4), [&](CArchive& ar) {
        ar.m_pDocument = doc.get();
        ar.SetObjectSchema(4);
        schema4.Serialize(ar);
    });
    EXPECT_EQ(schema4.GetText(), QStringLiteral("TOTAL"));
    EXPECT_FALSE(schema4.GetAlignToGrid());

    CFormTextElement broken;
    EXPECT_THROW(Load(Bytes(bytes.begin(), bytes.end() - 12),
                      [&](CArchive& ar) {
                          ar.m_pDocument = doc.get();
                          broken.Serialize(ar);
                      }),
                 CArchiveException);
}

TEST_F(TextElementTest, PagesApplyInOrder)
{
    AddFixedFont(4, 10);
    CFormTextElement* e = Place(1, 1);
    ASSERT_NE(e, nullptr);
    TextPageData page;
    EXPECT_FALSE(e->UpdatePage(page));
    page.text = QStringLiteral("DUE");
    page.fontIndex = 4;
    EXPECT_TRUE(e->ApplyPage(page, TextPageData::Text | TextPageData::Font));
    EXPECT_EQ(e->GetText(), QStringLiteral("DUE"));
    EXPECT_EQ(e->GetFontIndex(), 4);
    EXPECT_FALSE(e->ApplyPage(page, TextPageData::Text | TextPageData::Font));
    // Bits not asked for are left alone.
    page.text = QStringLiteral("ignored");
    EXPECT_FALSE(e->ApplyPage(page, TextPageData::Font));
    EXPECT_EQ(e->GetText(), QStringLiteral("DUE"));
}

// A proportional font is measured by its display font, so these need a GUI
// application; the screen resolution the designer was given decides the
// cells the measure is fitted to.
class TextMeasureTest : public TextElementTest
{
protected:
    static void SetUpTestSuite() { EnsureGuiApplication(); }
    void TearDown() override
    {
        TextElementTest::TearDown();
        kwvd::ScreenResolution::Reset();
    }

    CAS400Font* AddProportionalFont(int index)
    {
        auto font = std::make_unique<CAS400Font>(QStringLiteral("C0H200A0"), QStringLiteral("T1V10037"), 2304, 37, 0,
                                                 CAS400Font::FF_SWISS, QStringLiteral("Arial"), 0, 120, FALSE, FALSE,
                                                 FALSE, FALSE, QStringLiteral("QFNTCPL"), QString(), FALSE);
        OutputFonts().GetFontList().SetPrimaryFont(index, font.get());
        fonts.push_back(std::move(font));
        return fonts.back().get();
    }

    CFormTextElement* PlaceText(int column, int line, const QString& text, int fontIndex)
    {
        CFormTextElement* e = Place(column, line);
        if (e != nullptr) {
            e->SetText(text);
            e->SetFontIndex(fontIndex);
        }
        return e;
    }
};

TEST_F(TextMeasureTest, DrawnAndUndrawnTextExportTheSameRecordAtEveryResolution)
{
    struct Case
    {
        const char* name;
        int dpi;
    };
    const Case cases[] = {
        {"default screen", 96},
        {"large fonts screen", 120},
    };
    const QString text = QStringLiteral("WWWWWWWWWW");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CAS400Font* font = AddProportionalFont(3);
        ASSERT_TRUE(kwvd::ScreenResolution::SetLogPixels(c.dpi, c.dpi));
        doc->GetSourcePage()->RecalcGrid();
        doc->GetOutputPage()->RecalcGrid();
        const QImage device = MeasuringImage();
        EXPECT_EQ(device.logicalDpiX(), c.dpi);
        EXPECT_EQ(device.logicalDpiY(), c.dpi);

        CFormTextElement* undrawn = PlaceText(10, 5, text, 3);
        CFormTextElement* drawn = PlaceText(10, 5, text, 3);
        ASSERT_NE(undrawn, nullptr);
        ASSERT_NE(drawn, nullptr);
        QImage view(1200, 900, QImage::Format_RGB32);
        view.setDotsPerMeterX(device.dotsPerMeterX());
        view.setDotsPerMeterY(device.dotsPerMeterY());
        {
            QPainter painter(&view);
            drawn->DrawDest(painter);
        }
        ASSERT_FALSE(drawn->NeedsFit());

        const CAPRTPDMRec fromUndrawn = RecordOf(*undrawn);
        const CAPRTPDMRec fromDrawn = RecordOf(*drawn);
        EXPECT_EQ(undrawn->DestRect(), drawn->DestRect());
        EXPECT_EQ(fromUndrawn.m_destFirstColumn.GetShort(), fromDrawn.m_destFirstColumn.GetShort());
        EXPECT_EQ(fromUndrawn.m_destLastColumn.GetShort(), fromDrawn.m_destLastColumn.GetShort());
        EXPECT_EQ(fromUndrawn.m_destLine.GetShort(), fromDrawn.m_destLine.GetShort());
        EXPECT_EQ(fromUndrawn.m_lineCount.GetShort(), fromDrawn.m_lineCount.GetShort());

        // Wide letters take more than their own cells: the box grew by the
        // display font's measure on the image, in this resolution's cells.
        const int measured = QFontMetrics(*font->GetWindowsFont(0), &device).horizontalAdvance(text);
        const int cell = doc->GetOutputPage()->GetCellWidth();
        EXPECT_GT(measured, text.size() * cell);
        EXPECT_GT(undrawn->GetWidthAdjust(), 0);
        EXPECT_LE(std::abs(undrawn->DestRect().Width() - measured), cell);
        EXPECT_EQ(fromUndrawn.m_destLastColumn.GetShort(), 10 + text.size() - 1);

        doc->DeleteElement(undrawn, TRUE);
        doc->DeleteElement(drawn, TRUE);
    }
}

} // namespace
