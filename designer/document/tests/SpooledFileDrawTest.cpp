// The current page drawn in the input pane: one cell per character, text
// standing on the bottom of its line's cells, only what the painter's clip
// (padded by a pixel) reaches, and the painter left as it was.

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/SpooledFile.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/ScreenResolution.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <optional>

namespace {

constexpr char16_t kBlock = 0x2588; // inks its whole cell
constexpr QRgb kPaper = 0xFFFFFFFF;

QString Blocks(int count)
{
    return QString(count, QChar(kBlock));
}

CStringArray* MakePage(std::initializer_list<QString> lines)
{
    auto* page = new CStringArray;
    for (const QString& line : lines)
        page->Add(line);
    return page;
}

class SpooledFileDrawTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        if (QCoreApplication::instance() == nullptr) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "kwvd_document_tests";
            static char* argv[] = {name, nullptr};
            new QGuiApplication(argc, argv); // lives for the whole run, as a program's would
        }
    }

    void SetUp() override
    {
        kwvd::ScreenResolution::Reset();
        // No master font list: font 0 is only the one each test puts there.
        preferences.ApplicationDataDirectory.clear();
        preferences.MasterFontFileV2.clear();
        previousPreferences = SetPreferences(&preferences);
        doc = std::make_unique<CDesignerDoc>();
        ASSERT_TRUE(doc->OnNewDocument());
        file = doc->GetSpooledFile();
        sourcePage = doc->GetSourcePage();
        ASSERT_NE(file, nullptr);
        ASSERT_NE(sourcePage, nullptr);
    }

    void TearDown() override
    {
        doc.reset();
        font.reset();
        SetPreferences(previousPreferences);
    }

    // The lines as the only page (line n is the n-th entry), selected, with
    // font 0 a fixed-pitch face as high as cellsHigh lines.
    void ShowPage(std::initializer_list<QString> lines, int cellsHigh = 1)
    {
        PageList pages(new CObList);
        CStringArray* page = MakePage({QString()});
        for (const QString& line : lines)
            page->Add(line);
        pages->AddTail(page);
        file->ReplacePageList(std::move(pages));
        ASSERT_TRUE(file->SetCurrentPage(1));

        cw = sourcePage->GetCellWidth();
        ch = sourcePage->GetCellHeight();
        ASSERT_GT(cw, 4);
        ASSERT_GT(ch, 4);
        const int heightPixels = cellsHigh * ch;
        font = std::make_unique<CAS400Font>(QString(), QString(), 0, 0, 0, CAS400Font::FF_MODERN,
                                            QStringLiteral("DejaVu Sans Mono"), 0,
                                            static_cast<DWORD>((heightPixels * 1000 + 139) / 140), FALSE, FALSE, FALSE,
                                            FALSE, QString(), QString(), FALSE);
        // Selecting the page rebuilt font 0 from the grid; ours goes in after.
        sourcePage->GetFontManager()->GetFontList().SetPrimaryFont(0, font.get());
        ASSERT_NE(sourcePage->GetFontManager()->GetWindowsFont(0), nullptr);
    }

    // columns x lines cells of white paper with the page drawn on it through
    // a painter moved by (dx, dy) cells and clipped to clip (device pixels).
    QImage Draw(int columns, int lines, std::optional<QRect> clip = std::nullopt, int dx = 0, int dy = 0) const
    {
        QImage image(columns * cw, lines * ch, QImage::Format_ARGB32);
        image.fill(kPaper);
        QPainter painter(&image);
        if (clip)
            painter.setClipRect(*clip);
        painter.translate(dx * cw, dy * ch);
        file->DrawPage(painter);
        return image;
    }

    // Any pixel off white inside the cell (1-based), keeping two pixels
    // clear of its sides so a neighbour's anti-aliased edge does not count.
    bool CellInked(const QImage& image, int column, int line) const
    {
        return Inked(image, (column - 1) * cw + 2, (line - 1) * ch + 2, column * cw - 2, line * ch - 2);
    }

    static bool RowsInked(const QImage& image, int top, int bottom)
    {
        return Inked(image, 0, top, image.width(), bottom);
    }

    // Any pixel off white in [left, right) x [top, bottom).
    static bool Inked(const QImage& image, int left, int top, int right, int bottom)
    {
        for (int y = std::max(top, 0); y < std::min(bottom, image.height()); ++y)
            for (int x = std::max(left, 0); x < std::min(right, image.width()); ++x)
                if (image.pixel(x, y) != kPaper)
                    return true;
        return false;
    }

    CPreferences preferences;
    CPreferences* previousPreferences = nullptr;
    ScopedPromptAnswers prompts;
    std::unique_ptr<CAS400Font> font; // the page points at it, so it outlives doc
    std::unique_ptr<CDesignerDoc> doc;
    CSpooledFile* file = nullptr;
    CPage* sourcePage = nullptr;
    int cw = 0;
    int ch = 0;
};

TEST_F(SpooledFileDrawTest, InksTheCellsOfEachCharacterInDisplayForm)
{
    // Line 3 holds a double-byte character: shift-out and shift-in show as
    // markers, its filler as a blank cell.
    // Line 4 alternates blocks and blanks far enough that the font's own
    // advance, narrower than a cell, would put the last block a cell early.
    ShowPage({QString(kBlock) + u' ' + QString(kBlock), QString(),
              QStringLiteral(" A\x0E"
                             "ab\x0F"),
              QString(QStringLiteral("\u2588 ")).repeated(5) + Blocks(1)});

    const QImage image = Draw(12, 5);

    struct Case
    {
        const char* name;
        int column;
        int line;
        bool inked;
    };
    const Case cases[] = {
        {"first block", 1, 1, true},
        {"blank between the blocks", 2, 1, false},
        {"second block", 3, 1, true},
        {"after the line's end", 4, 1, false},
        {"empty line", 1, 2, false},
        {"leading blank", 1, 3, false},
        {"letter", 2, 3, true},
        {"shift-out marker", 3, 3, true},
        {"double-byte character", 4, 3, true},
        {"its filler", 5, 3, false},
        {"shift-in marker", 6, 3, true},
        {"blank before the last block", 10, 4, false},
        {"last block, eleven cells in", 11, 4, true},
        {"below the page", 1, 5, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CellInked(image, c.column, c.line), c.inked) << c.name;
}

TEST_F(SpooledFileDrawTest, TextStandsOnTheBottomOfItsLine)
{
    struct Case
    {
        const char* name;
        int cellsHigh;
    };
    const Case cases[] = {
        {"font as high as the cell", 1},
        {"font two cells high reaches up, never down", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowPage({QString(), QString(), Blocks(1)}, c.cellsHigh);
        const QImage image = Draw(2, 5);

        // The lowest rows of line 3 carry the block; line 4 and below none.
        EXPECT_TRUE(RowsInked(image, 3 * ch - 3, 3 * ch));
        EXPECT_FALSE(RowsInked(image, 3 * ch, image.height()));
        // A taller font climbs into the line above, and no further.
        EXPECT_EQ(CellInked(image, 1, 2), c.cellsHigh > 1);
        EXPECT_FALSE(RowsInked(image, 0, (3 - c.cellsHigh) * ch - 2));
    }
}

TEST_F(SpooledFileDrawTest, DrawsOnlyInsideThePaintersClip)
{
    ShowPage({Blocks(3), Blocks(3)});

    const QImage image = Draw(4, 3, QRect(cw, 0, cw, ch));

    EXPECT_TRUE(CellInked(image, 2, 1));
    EXPECT_FALSE(Inked(image, 0, 0, cw, image.height()));
    EXPECT_FALSE(Inked(image, 2 * cw, 0, image.width(), image.height()));
    EXPECT_FALSE(RowsInked(image, ch, image.height()));
}

TEST_F(SpooledFileDrawTest, ClipPaddedByAPixelReachesTheCellBeforeIt)
{
    // A font three lines high makes the block of column 1 far wider than its
    // cell; the clip starts exactly on column 2, so only the padding brings
    // column 1's block into the drawing.
    ShowPage({Blocks(1)}, 3);

    const QImage image = Draw(4, 1, QRect(cw, 0, 3 * cw, ch));

    EXPECT_TRUE(CellInked(image, 2, 1));
    EXPECT_FALSE(Inked(image, 0, 0, cw, ch));
}

TEST_F(SpooledFileDrawTest, MovedPainterDrawsTheLinesAndColumnsItShows)
{
    struct Case
    {
        const char* name;
        int dx; // painter moved by cells
        int dy;
        int inkedColumn; // device cell where the block lands
        int inkedLine;
    };
    const Case cases[] = {
        // Lines 6 and 7 are in view; the block on line 7 lands on device line 2.
        {"scrolled five lines down", 0, -5, 2, 2},
        // The page starts three cells into the image: column 1 lands on cell 4,
        // not left of it.
        {"page right of the image's origin", 3, 0, 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.dy != 0)
            ShowPage({QString(), QString(), QString(), QString(), QString(), QString(), QString(u' ') + Blocks(1)});
        else
            ShowPage({Blocks(1)});

        const QImage image = Draw(6, 2, std::nullopt, c.dx, c.dy);

        for (int line = 1; line <= 2; ++line)
            for (int column = 1; column <= 6; ++column)
                EXPECT_EQ(CellInked(image, column, line), column == c.inkedColumn && line == c.inkedLine)
                    << "cell " << column << "," << line;
    }
}

TEST_F(SpooledFileDrawTest, DrawsNothingWithoutTextToShow)
{
    struct Case
    {
        const char* name;
        void (*prepare)(CSpooledFile& file);
        std::optional<QRect> clip;
    };
    const Case cases[] = {
        {"page without lines",
         [](CSpooledFile& f) {
             PageList pages(new CObList);
             pages->AddTail(MakePage({QString()}));
             f.ReplacePageList(std::move(pages));
             ASSERT_TRUE(f.SetCurrentPage(1));
         },
         std::nullopt},
        {"no current page", [](CSpooledFile& f) { f.ReplacePageList(PageList(new CObList)); }, std::nullopt},
        {"empty clip", [](CSpooledFile&) {}, QRect()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ShowPage({Blocks(3), Blocks(3)});
        c.prepare(*file);

        const QImage image = Draw(4, 4, c.clip);

        EXPECT_FALSE(RowsInked(image, 0, image.height()));
    }
}

TEST_F(SpooledFileDrawTest, WithoutADocumentNothingIsDrawn)
{
    ShowPage({Blocks(3)});
    CSpooledFile loose;
    PageList pages(new CObList);
    pages->AddTail(MakePage({QString(), Blocks(3)}));
    loose.ReplacePageList(std::move(pages));
    ASSERT_TRUE(loose.SetCurrentPage(1));

    QImage image(4 * cw, 2 * ch, QImage::Format_ARGB32);
    image.fill(kPaper);
    QPainter painter(&image);
    loose.DrawPage(painter);
    painter.end();

    EXPECT_FALSE(RowsInked(image, 0, image.height()));
}

TEST_F(SpooledFileDrawTest, LeavesThePainterAsItWas)
{
    ShowPage({Blocks(3)});
    QImage image(4 * cw, 2 * ch, QImage::Format_ARGB32);
    image.fill(kPaper);
    QPainter painter(&image);
    QFont callerFont(QStringLiteral("DejaVu Serif"));
    callerFont.setPixelSize(30);
    painter.setFont(callerFont);
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setClipRect(QRect(0, 0, 2 * cw, ch));

    file->DrawPage(painter);

    EXPECT_EQ(painter.font(), callerFont);
    EXPECT_EQ(painter.backgroundMode(), Qt::OpaqueMode);
    EXPECT_EQ(painter.clipBoundingRect(), QRectF(0, 0, 2 * cw, ch));
    painter.end();
    EXPECT_TRUE(CellInked(image, 1, 1));
}

} // namespace

namespace {

// A fresh installation has no font 0: the page is shown in a fixed-pitch
// face whose every character advances one cell, so the text keeps to the
// grid ("NORTHWIND", not "NORTHWI ND").
class SpooledFileFallbackFace : public SpooledFileDrawTest
{};

TEST_F(SpooledFileFallbackFace, EveryCharacterAdvancesOneCellAtEachScale)
{
    struct Case
    {
        const char* name;
        int dpi;
    };
    const Case cases[] = {{"100 %", 96}, {"200 %", 192}};
    for (const Case& c : cases) {
        ASSERT_TRUE(kwvd::ScreenResolution::SetLogPixels(c.dpi, c.dpi));
        CDesignerDoc fresh;
        ASSERT_TRUE(fresh.OnNewDocument());
        CPage* page = fresh.GetSourcePage();
        ASSERT_EQ(page->GetFontManager()->GetWindowsFont(0), nullptr) << c.name << ": no master fonts, no font 0";
        const int cellWidth = page->GetCellWidth();
        const QFont face = CSpooledFile::FallbackDisplayFont(cellWidth, page->GetCellHeight());
        EXPECT_TRUE(QFontInfo(face).fixedPitch()) << c.name;
        const QFontMetricsF metrics(face);
        // Within a run of text, where each character starts.
        const QString text = QStringLiteral("NORTHWIND iIlM.W-0");
        for (qsizetype i = 1; i <= text.size(); ++i) {
            EXPECT_NEAR(metrics.horizontalAdvance(text.left(i)) - metrics.horizontalAdvance(text.left(i - 1)),
                        cellWidth, 0.05)
                << c.name << " '" << text.at(i - 1).toLatin1() << "'";
        }
        EXPECT_LE(metrics.height(), page->GetCellHeight() + 1) << c.name;
    }
    kwvd::ScreenResolution::Reset();
}

TEST_F(SpooledFileFallbackFace, ThePageIsDrawnInItWhileFontZeroIsMissing)
{
    ShowPage({QStringLiteral("IIIIIIII"), QStringLiteral("MMMMMMMM")});
    sourcePage->GetFontManager()->GetFontList().SetPrimaryFont(0, nullptr);
    ASSERT_EQ(sourcePage->GetFontManager()->GetWindowsFont(0), nullptr);
    const QImage image = Draw(10, 3);
    // Each character stands in its own cell, one after another.
    for (int column = 1; column <= 8; ++column) {
        EXPECT_TRUE(CellInked(image, column, 1)) << "I in column " << column;
        EXPECT_TRUE(CellInked(image, column, 2)) << "M in column " << column;
    }
    EXPECT_FALSE(CellInked(image, 9, 1));
    EXPECT_FALSE(CellInked(image, 9, 2));
}

} // namespace
