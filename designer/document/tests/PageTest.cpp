// The page's character grid at a given screen resolution: cell and pixel
// sizes, snapping and clamping on the grid, the conversions to and from twips
// and the advance cache.

#include "designer/document/Page.h"
#include "designer/document/DocumentClasses.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/ScreenResolution.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <ostream>
#include <span>

namespace kwvd {

void PrintTo(const Rect& r, std::ostream* os)
{
    *os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

} // namespace kwvd

namespace {

using kwvd::Rect;

class PageTest : public ::testing::Test
{
protected:
    void TearDown() override { kwvd::ScreenResolution::Reset(); }
};

struct GridCase
{
    const char* name;
    int dpi;
    int charsPerInch;
    int linesPerInch;
    int width; // 1/100 inch
    int height;
    int cellWidth;
    int cellHeight;
    int pixelWidth;
    int pixelHeight;
};

void PrintTo(const GridCase& c, std::ostream* os)
{
    *os << c.name;
}

// Cell = dpi / density rounded half away from zero; pixels = size x density
// x cell / 100, rounded the same way.
const GridCase kGrids[] = {
    {"DefaultsAt96", 96, 10, 6, 827, 1169, 10, 16, 827, 1122},
    {"DefaultsAt120", 120, 10, 6, 827, 1169, 12, 20, 992, 1403},
    {"Cpi15At96RoundsCellDown", 96, 15, 6, 827, 1169, 6, 16, 744, 1122},
    {"Cpi12Lpi8At96", 96, 12, 8, 827, 1169, 8, 12, 794, 1122},
    {"Cpi15Lpi8At120", 120, 15, 8, 827, 1169, 8, 15, 992, 1403},
    {"Cpi12At120", 120, 12, 6, 827, 1169, 10, 20, 992, 1403},
    {"LandscapeLetterAt96", 96, 10, 6, 1100, 850, 10, 16, 1100, 816},
    {"LandscapeLetterAt120", 120, 10, 6, 1100, 850, 12, 20, 1320, 1020},
};

class Grid : public PageTest, public ::testing::WithParamInterface<GridCase>
{};

TEST_P(Grid, CellAndPixelSizeFollowResolutionAndDensity)
{
    const GridCase& c = GetParam();
    ASSERT_TRUE(kwvd::ScreenResolution::SetLogPixels(c.dpi, c.dpi));
    CPage page;
    page.SetCharsPerInch(c.charsPerInch);
    page.SetLinesPerInch(c.linesPerInch);
    page.SetWidth(c.width);
    page.SetHeight(c.height);

    page.RecalcGrid();

    EXPECT_EQ(page.GetCellWidth(), c.cellWidth);
    EXPECT_EQ(page.GetCellHeight(), c.cellHeight);
    EXPECT_EQ(page.GetPixelWidth(), c.pixelWidth);
    EXPECT_EQ(page.GetPixelHeight(), c.pixelHeight);
    EXPECT_EQ(page.GetFontManager()->GetPagePixelSize(), QSize(c.pixelWidth, c.pixelHeight));
}

INSTANTIATE_TEST_SUITE_P(Cases, Grid, ::testing::ValuesIn(kGrids),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PageTest, NewPageHasTheDefaultsAndAFontManagerBoundToIt)
{
    CPage page;

    EXPECT_EQ(page.GetWidth(), 827);
    EXPECT_EQ(page.GetHeight(), 1169);
    EXPECT_EQ(page.GetCharsPerInch(), 10);
    EXPECT_EQ(page.GetLinesPerInch(), 6);
    EXPECT_EQ(page.GetOrientation(), 0);
    EXPECT_EQ(page.GetBorder(), 250);
    ASSERT_NE(page.GetFontManager(), nullptr);
    EXPECT_EQ(page.GetFontManager()->GetPage(), &page);
    EXPECT_EQ(page.GetFontManager()->GetPagePixelSize(), QSize(827, 1122));
}

TEST_F(PageTest, IsASerialisableClassOfSchemaThreeFoundByName)
{
    RegisterDocumentClasses();
    const CRuntimeClass* found = CRuntimeClass::FromName("CPage");

    ASSERT_EQ(found, KWVD_RUNTIME_CLASS(CPage));
    EXPECT_EQ(found->GetStoredSchema(), 3u);
    EXPECT_TRUE(found->IsVersionable());
    std::unique_ptr<CObject> made(found->CreateObject());
    EXPECT_TRUE(made->IsKindOf(KWVD_RUNTIME_CLASS(CPage)));
}

TEST_F(PageTest, FontManagerHearsOnlyOfARealChangeOfPixelSize)
{
    CPage page;
    CFontManager* fonts = page.GetFontManager();
    // A size the page never had, to see whether the page calls again.
    fonts->SetCharacterCell(1, 1, 1, 1);

    EXPECT_FALSE(page.SetPixelSize(827, 1122));
    EXPECT_EQ(fonts->GetPagePixelSize(), QSize(1, 1));

    EXPECT_FALSE(page.SetPixelSize(0, 500));
    EXPECT_FALSE(page.SetPixelSize(500, 0));
    EXPECT_FALSE(page.SetPixelSize(-10, 500));
    EXPECT_EQ(page.GetPixelWidth(), 827);
    EXPECT_EQ(fonts->GetPagePixelSize(), QSize(1, 1));

    EXPECT_TRUE(page.SetPixelSize(900, 1000));
    EXPECT_EQ(page.GetPixelWidth(), 900);
    EXPECT_EQ(page.GetPixelHeight(), 1000);
    EXPECT_EQ(fonts->GetPagePixelSize(), QSize(900, 1000));
}

TEST_F(PageTest, SizeInCellsSetsPixelsAndKeepsTheSizeInInches)
{
    CPage page;

    EXPECT_FALSE(page.SetSizeInCells(0, 66));
    EXPECT_FALSE(page.SetSizeInCells(132, 0));
    EXPECT_TRUE(page.SetSizeInCells(132, 66));
    EXPECT_EQ(page.GetPixelWidth(), 1320);
    EXPECT_EQ(page.GetPixelHeight(), 1056);
    EXPECT_EQ(page.GetWidth(), 827);
    EXPECT_EQ(page.GetHeight(), 1169);
    EXPECT_FALSE(page.SetSizeInCells(132, 66));

    page.RecalcGrid();
    EXPECT_EQ(page.GetPixelWidth(), 827);
    EXPECT_EQ(page.GetPixelHeight(), 1122);
}

struct TwipsSizeCase
{
    const char* name;
    int twipsWidth;
    int twipsHeight;
    BOOL changed;
    int width;
    int height;
};

TEST_F(PageTest, SizeInTwipsIsTakenInHundredthsOfAnInch)
{
    const TwipsSizeCase cases[] = {
        {"A4FromTheDevice", 11909, 16848, TRUE, 827, 1170},
        {"SameSizeAgain", 11909, 16848, FALSE, 827, 1170},
        {"SevenTwipsComeOutZero", 7, 16848, FALSE, 827, 1170},
        {"EightTwipsComeOutOne", 8, 16848, TRUE, 1, 1170},
        {"ZeroHeight", 11909, 0, FALSE, 1, 1170},
        {"NegativeWidth", -14400, 16848, FALSE, 1, 1170},
        {"Letter", 12240, 15840, TRUE, 850, 1100},
    };
    CPage page;
    for (const TwipsSizeCase& c : cases) {
        EXPECT_EQ(page.SetSizeTwips(c.twipsWidth, c.twipsHeight), c.changed) << c.name;
        EXPECT_EQ(page.GetWidth(), c.width) << c.name;
        EXPECT_EQ(page.GetHeight(), c.height) << c.name;
    }
    // Letter at 10 x 6 per inch on the 10 x 16 cell.
    EXPECT_EQ(page.GetPixelWidth(), 850);
    EXPECT_EQ(page.GetPixelHeight(), 1056);
}

struct RectCase
{
    const char* name;
    Rect input;
    Rect expected;
};

// All on the default grid at 96 dpi: cell 10 x 16, page 827 x 1122 pixels.
TEST_F(PageTest, RectanglesToOneBasedCells)
{
    const RectCase cases[] = {
        {"OnePixel", {0, 0, 1, 1}, {1, 1, 2, 2}},
        {"ExactlyOneCell", {0, 0, 10, 16}, {1, 1, 2, 2}},
        {"SecondCell", {10, 16, 20, 32}, {2, 2, 3, 3}},
        {"PartCellsRoundOutward", {15, 20, 31, 33}, {2, 2, 5, 4}},
    };
    CPage page;
    for (const RectCase& c : cases) {
        Rect r = c.input;
        page.RectToCells(r);
        EXPECT_EQ(r, c.expected) << c.name;
    }
}

TEST_F(PageTest, OutwardSnapKeepsAtLeastOneCell)
{
    const RectCase cases[] = {
        {"EmptyAt23x17", {23, 17, 23, 17}, {20, 16, 30, 32}},
        {"AlreadyOnTheGrid", {10, 16, 30, 48}, {10, 16, 30, 48}},
        {"PartCellsGrowOutward", {11, 17, 29, 47}, {10, 16, 30, 48}},
        {"InvertedGetsOneCell", {40, 40, 20, 20}, {40, 32, 50, 48}},
        // div truncates toward zero, so a negative left moves right to 0.
        {"NegativeLeft", {-5, 0, 5, 16}, {0, 0, 10, 16}},
    };
    CPage page;
    for (const RectCase& c : cases) {
        Rect r = c.input;
        page.SnapToGrid(r);
        EXPECT_EQ(r, c.expected) << c.name;
    }
}

TEST_F(PageTest, NearestSnapRoundsExactHalvesDown)
{
    const RectCase cases[] = {
        {"HalfCellTopRoundsDown", {14, 8, 26, 25}, {10, 0, 30, 32}},
        {"JustPastHalf", {16, 9, 24, 23}, {20, 16, 30, 32}},
        {"CollapsedGetsOneCell", {12, 3, 14, 5}, {10, 0, 20, 16}},
    };
    CPage page;
    for (const RectCase& c : cases) {
        Rect r = c.input;
        page.SnapToGridNearest(r);
        EXPECT_EQ(r, c.expected) << c.name;
    }

    struct PointCase
    {
        const char* name;
        QPoint input;
        QPoint expected;
    };
    const PointCase points[] = {
        {"ExactlyHalfRoundsDown", {15, 8}, {10, 0}},
        {"PastHalfRoundsUp", {16, 9}, {20, 16}},
        {"OnTheGrid", {30, 48}, {30, 48}},
    };
    for (const PointCase& c : points) {
        QPoint p = c.input;
        page.SnapPointToGrid(p);
        EXPECT_EQ(p, c.expected) << c.name;
    }
}

struct ClampCase
{
    const char* name;
    Rect input;
    BOOL moveInside;
    Rect expected;
};

TEST_F(PageTest, ClampingCutsToThePageAfterAnOptionalMove)
{
    const ClampCase cases[] = {
        {"MovedInFromTopLeft", {-5, -5, 95, 45}, TRUE, {0, 0, 100, 50}},
        {"CutAtTopLeft", {-5, -5, 95, 45}, FALSE, {0, 0, 95, 45}},
        {"MovedInFromBottomRight", {800, 1100, 850, 1130}, TRUE, {777, 1092, 827, 1122}},
        {"CutAtBottomRight", {800, 1100, 850, 1130}, FALSE, {800, 1100, 827, 1122}},
        {"WiderThanThePage", {-10, 0, 900, 16}, TRUE, {0, 0, 827, 16}},
        {"InsideUntouched", {10, 16, 20, 32}, TRUE, {10, 16, 20, 32}},
    };
    CPage page;
    for (const ClampCase& c : cases) {
        Rect r = c.input;
        page.ClampToPage(r, c.moveInside);
        EXPECT_EQ(r, c.expected) << c.name;
    }
}

struct ConversionCase
{
    const char* name;
    QPoint pixels;
    QPoint twips;
};

// Default page at 96 dpi: 827 x 1169 hundredths on 827 x 1122 pixels.
// Twips = float(size x pixels / pixel size) x 1440 / 100, half up; negative
// values truncate.
TEST_F(PageTest, PixelsToTwipsRoundHalfUpThroughSinglePrecision)
{
    const ConversionCase cases[] = {
        {"Origin", {0, 0}, {0, 0}},
        {"OnePixel", {1, 1}, {14, 15}},
        {"WholePage", {827, 1122}, {11909, 16834}},
        {"NegativeTruncates", {-1, -1}, {-14, -15}},
        // 1169 x 2649 / 1122 = 2759.96524..., x 14.4 = 39743.4995 in double;
        // the single-precision ratio 2759.96533 gives 39743.5008.
        {"SinglePrecisionRoundsUp", {0, 2649}, {0, 39744}},
        // 1169 x 2961 / 1122 = 3085.03475..., x 14.4 = 44424.5005 in double;
        // the single-precision ratio 3085.03467 gives 44424.4992.
        {"SinglePrecisionRoundsDown", {0, 2961}, {0, 44424}},
    };
    CPage page;
    for (const ConversionCase& c : cases) {
        QPoint p = c.pixels;
        page.PixelsToTwips(p);
        EXPECT_EQ(p, c.twips) << c.name;
    }
}

TEST_F(PageTest, TwipsToPixelsRoundHalfUpAndTruncateNegatives)
{
    const ConversionCase cases[] = {
        {"Origin", {0, 0}, {0, 0}},
        {"HalfPixelRoundsUp", {3, 0}, {36, 0}},
        {"NegativeHalfTruncates", {-2, 0}, {-36, 0}},
        {"JustBelowHalf", {2, 0}, {35, 0}},
        {"WholePage", {827, 1122}, {11909, 16834}},
    };
    CPage page;
    for (const ConversionCase& c : cases) {
        QPoint p = c.twips;
        page.TwipsToPixels(p);
        EXPECT_EQ(p, c.pixels) << c.name;
    }
}

TEST_F(PageTest, AdvanceCacheIsKeptUntilTheCellChanges)
{
    CPage page;
    const std::span<const int> first = page.GetCharWidths(80);
    ASSERT_GE(first.size(), 80u);
    for (int advance : first)
        EXPECT_EQ(advance, 10);

    EXPECT_EQ(page.GetCharWidths(80).data(), first.data());
    EXPECT_EQ(page.GetCharWidths(20).data(), first.data());

    const std::span<const int> longer = page.GetCharWidths(132);
    EXPECT_GE(longer.size(), 132u);

    page.SetCharsPerInch(12);
    page.RecalcGrid();
    const std::span<const int> afterChange = page.GetCharWidths(10);
    ASSERT_GE(afterChange.size(), 10u);
    for (int advance : afterChange)
        EXPECT_EQ(advance, 8);
}

struct BadDensityCase
{
    const char* name;
    int charsPerInch;
    int linesPerInch;
};

// A density of 0, or one finer than the screen's pixels, comes from a file
// or an import; the grid still needs a cell to divide by.
TEST_F(PageTest, DensityWithoutAWholePixelCellKeepsACellOfOnePixel)
{
    const BadDensityCase cases[] = {
        {"Zero", 0, 0},
        {"FinerThanThePixels", 250, 400},
        {"Negative", -10, -6},
    };
    for (const BadDensityCase& c : cases) {
        CPage page;
        page.SetCharsPerInch(c.charsPerInch);
        page.SetLinesPerInch(c.linesPerInch);
        page.RecalcGrid();

        EXPECT_EQ(page.GetCellWidth(), 1) << c.name;
        EXPECT_EQ(page.GetCellHeight(), 1) << c.name;
        EXPECT_GT(page.GetPixelWidth(), 0) << c.name;
        EXPECT_GT(page.GetPixelHeight(), 0) << c.name;
        Rect r(3, 4, 7, 9);
        page.RectToCells(r);
        EXPECT_EQ(r, Rect(4, 5, 8, 10)) << c.name;
        page.SnapToGrid(r);
        EXPECT_EQ(r, Rect(4, 5, 8, 10)) << c.name;
    }
}

// At 120 dpi size x density x cell / 100 is 1.2 x the size, past the int
// range for a size read from a file.
TEST_F(PageTest, SizeTooLargeForPixelsKeepsThePixelSize)
{
    ASSERT_TRUE(kwvd::ScreenResolution::SetLogPixels(120, 120));
    CPage page;
    page.SetWidth(INT_MAX);
    page.SetHeight(INT_MAX);

    page.RecalcGrid();

    EXPECT_EQ(page.GetPixelWidth(), 992);
    EXPECT_EQ(page.GetPixelHeight(), 1403);
}

} // namespace
