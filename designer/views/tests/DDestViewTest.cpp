// The output pane: the no-print band over the page and the elements, the
// zoom in the WVD file and the grid it re-snaps to, drops that keep the
// elements' sub-cell offsets.

#include "designer/commands/CommandIds.h"
#include "designer/preferences/ColourRef.h"
#include "designer/views/tests/ViewTestFixture.h"

#include <QMimeData>
#include <QTest>

namespace {

using DestViewDrawing = ViewTest;

bool IsColour(const QColor& pixel, COLORREF colour)
{
    return pixel.rgb() == kwvd::ToQColor(colour).rgb();
}

struct BandCase
{
    const char* name;
    int orientation;
    WORD border; // 1/1000 inch
    int zoom;
    QPoint inside; // page points
    QPoint outside;
};

void PrintTo(const BandCase& c, std::ostream* os)
{
    *os << c.name;
}

class DestViewBand : public ViewTest, public ::testing::WithParamInterface<BandCase>
{};

TEST_P(DestViewBand, BandInvertsThePageUnderIt)
{
    const BandCase& c = GetParam();
    // Scrolling to the band needs the pane's scroll bars laid out.
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&output));
    CPage& page = OutputPage();
    if (c.orientation != 0) {
        page.SetOrientation(c.orientation);
        page.SetWidth(CPage::kDefaultHeight);
        page.SetHeight(CPage::kDefaultWidth);
        page.RecalcGrid();
    }
    page.SetBorder(c.border);
    ASSERT_TRUE(output.SetZoom(c.zoom, c.zoom) || c.zoom == 100);
    output.UpdateScrollSizes();
    // Bring the point inside into view (the landscape band is at the bottom).
    const QPoint device = output.DocToClientPoint(c.inside);
    if (device.y() >= output.viewport()->height())
        output.ScrollToPosition(
            QPoint(0, device.y() - output.viewport()->height() / 2 + output.GetScrollPosition().y()));

    const QImage screen = Picture(output);
    const QColor inverted = kwvd::ToQColor(kBandColour ^ 0xFFFFFF);
    if (c.border / 10 > 0)
        EXPECT_EQ(PixelAt(output, screen, c.inside).rgb(), inverted.rgb());
    else
        EXPECT_EQ(PixelAt(output, screen, c.inside).rgb(), QColor(Qt::white).rgb());
    EXPECT_EQ(PixelAt(output, screen, c.outside).rgb(), QColor(Qt::white).rgb());
}

INSTANTIATE_TEST_SUITE_P(Cases, DestViewBand,
                         ::testing::Values(BandCase{"PortraitLeftEdge", 0, 250, 100, {20, 200}, {30, 200}},
                                           BandCase{"PortraitAtTwiceTheSize", 0, 250, 200, {24, 60}, {26, 60}},
                                           BandCase{"LandscapeBottomEdge", 1, 250, 100, {200, 780}, {200, 760}},
                                           BandCase{"OrientationTwoIsLandscape", 2, 250, 100, {200, 780}, {200, 760}},
                                           BandCase{"NarrowBorderCutToWholePixels", 0, 19, 100, {0, 200}, {2, 200}},
                                           BandCase{"NoBorderNoBand", 0, 9, 100, {0, 200}, {5, 200}}),
                         [](const ::testing::TestParamInfo<BandCase>& info) { return info.param.name; });

TEST_F(DestViewDrawing, BandInvertsElementsUnderIt)
{
    ASSERT_NE(Make(FormElementType::Address, kwvd::Rect(0, 96, 100, 112)), nullptr);
    const QImage screen = Picture(output);
    EXPECT_TRUE(IsColour(PixelAt(output, screen, {10, 104}), kAddressColour ^ kBandColour));
    EXPECT_TRUE(IsColour(PixelAt(output, screen, {50, 104}), kAddressColour));
}

// ---- zoom in the document

using DestViewZoom = ViewTest;

TEST_F(DestViewZoom, StoredZoomTravelsInTheWvdFile)
{
    ASSERT_TRUE(output.SetZoom(250, 250));
    output.SetDocument(nullptr);
    const Bytes stored = StoreDocument(doc);
    CDesignerDoc reloaded;
    LoadDocument(reloaded, stored);
    CDDestView pane;
    pane.SetDocument(&reloaded);
    pane.OnInitialUpdate();
    EXPECT_EQ(pane.GetZoomX(), 250);
    EXPECT_EQ(pane.GetZoomY(), 250);
    pane.SetDocument(nullptr);
}

TEST_F(DestViewZoom, NewZoomResnapsElementsToTheGrid)
{
    CFormElement* address = Make(FormElementType::Address, kwvd::Rect(100, 96, 200, 112));
    ASSERT_NE(address, nullptr);
    // A finer grid leaves the element between lines until it revalidates.
    OutputPage().SetCharsPerInch(12);
    OutputPage().RecalcGrid();
    const int cell = OutputPage().GetCellWidth();
    ASSERT_EQ(cell, 8);
    ASSERT_NE(address->GetDestRect().left % cell, 0);

    ASSERT_TRUE(output.SetZoom(200, 200));
    const kwvd::Rect after = address->GetDestRect();
    EXPECT_EQ(after.left % cell, 0);
    EXPECT_EQ(after.right % cell, 0);
}

// ---- dropping within the pane

using DestViewDrop = ViewTest;

TEST_F(DestViewDrop, SamePaneDropMovesTheSelectionKeepingSubCellOffsets)
{
    CFormElement* text = Make(FormElementType::Text, kwvd::Rect(100, 96, 160, 112));
    CFormElement* address = Make(FormElementType::Address, kwvd::Rect(200, 160, 260, 176));
    ASSERT_NE(text, nullptr);
    ASSERT_NE(address, nullptr);
    // A third of a cell to the right (48 of 144 twips).
    {
        CDocChangeGuard change(&doc);
        ASSERT_TRUE(text->SetOffset(QPoint(48, 0)));
    }
    const int subCell = text->GetDestRect().left - text->DestRect().left;
    ASSERT_GT(subCell, 0);
    output.SelectOnly(text);
    output.SetCurrentElement(address, TRUE); // both selected, the address current
    const kwvd::Rect textBefore = text->DestRect();
    const kwvd::Rect addressBefore = address->DestRect();
    const int undoSteps = doc.GetUndoList().GetCount();

    const QPoint press = output.DocToClientPoint(QPoint(230, 168));
    const QPoint target = press + QPoint(200, 64);
    CDesignView::SetDragRunner([&](CDesignView* source, std::unique_ptr<QMimeData> data, Qt::DropActions) {
        source->OnDragEnter(data.get(), Qt::NoModifier, target);
        source->OnDrop(data.get(), Qt::MoveAction, target);
        return Qt::MoveAction;
    });
    QTest::mousePress(output.viewport(), Qt::LeftButton, Qt::NoModifier, press);
    QTest::mouseMove(output.viewport(), press + QPoint(12, 0));
    QTest::mouseRelease(output.viewport(), Qt::LeftButton, Qt::NoModifier, press + QPoint(12, 0));
    CDesignView::SetDragRunner({});

    // Both moved alike, about the mouse's way, and nothing was deleted.
    const QPoint moved = text->DestRect().TopLeft() - textBefore.TopLeft();
    EXPECT_EQ(address->DestRect().TopLeft() - addressBefore.TopLeft(), moved);
    EXPECT_NEAR(moved.x(), 200, OutputPage().GetCellWidth());
    EXPECT_NEAR(moved.y(), 64, OutputPage().GetCellHeight());
    EXPECT_TRUE(doc.ContainsElement(text));
    EXPECT_TRUE(doc.ContainsElement(address));
    // The text still sits the same fraction of a cell off the grid, in
    // twips exactly, not as far as the nearest pixel gives back.
    EXPECT_EQ(text->GetDestRect().left - text->DestRect().left, subCell);
    EXPECT_EQ(text->GetOffset(), QPoint(48, 0));
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps + 1);
}

struct OffsetMoveCase
{
    const char* name;
    QPoint offset; // twips
    QPoint cells;  // the move, in whole cells
};

// A move by whole cells off the grid (as a drop makes it) keeps the offset
// in twips as it was, on both axes, whatever pixels show of it.
TEST_F(DestViewDrop, MoveOffTheGridKeepsTheOffsetInTwips)
{
    const OffsetMoveCase cases[] = {
        {"a third of a cell across", {48, 0}, {3, 2}},
        {"part of a line down", {0, 100}, {-2, 1}},
        {"both axes, no move", {30, 70}, {0, 0}},
        {"both axes, one cell each way", {131, 200}, {1, 1}},
    };
    const int cw = OutputPage().GetCellWidth();
    const int ch = OutputPage().GetCellHeight();
    for (const OffsetMoveCase& c : cases) {
        SCOPED_TRACE(c.name);
        CFormElement* text = Make(FormElementType::Text, kwvd::Rect(100, 96, 160, 112));
        ASSERT_NE(text, nullptr);
        {
            CDocChangeGuard change(&doc);
            ASSERT_TRUE(text->SetOffset(c.offset));
        }
        const kwvd::Rect before = text->DestRect();
        output.SelectOnly(text);
        using F = ElementMoveFlags;
        ASSERT_TRUE(output.MoveSelection(F::Left | F::Top | F::NoSnap, c.cells.x() * cw, c.cells.y() * ch));
        EXPECT_EQ(text->DestRect().TopLeft() - before.TopLeft(), QPoint(c.cells.x() * cw, c.cells.y() * ch));
        EXPECT_EQ(text->GetOffset(), c.offset);
    }
}

} // namespace
