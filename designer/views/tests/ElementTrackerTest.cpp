// The tracker's grid rules: which coordinates each handle snaps, moves
// kept on the page, an output element's sub-cell offset, the Barcode's free
// handles, rubber bands, hit codes and the tracking steps.

#include "designer/views/tests/ViewTestFixture.h"

#include <QPainter>

using ElementTrackerTest = ViewTest;
using kwvd::Rect;

namespace {

// Cells of the output page are 10 x 16 pixels; at 100 % a device pixel is a
// logical one.
const Rect kOffGrid(13, 21, 47, 59);

} // namespace

TEST_F(ElementTrackerTest, EachHandleSnapsOnlyItsOwnCoordinates)
{
    ASSERT_EQ(OutputCell(), QSize(10, 16));
    CElementTracker tracker;
    output.SetupTracker(tracker, nullptr);
    struct Case
    {
        int handle;
        Rect expected;
    };
    // 13 -> 10, 47 -> 50, 21 -> 16, 59 -> 64 (nearest grid lines).
    const Case cases[] = {
        {0, Rect(10, 16, 47, 59)},
        {1, Rect(13, 16, 50, 59)},
        {2, Rect(13, 21, 50, 64)},
        {3, Rect(10, 21, 47, 64)},
        {4, Rect(13, 16, 47, 59)},
        {5, Rect(13, 21, 50, 59)},
        {6, Rect(13, 21, 47, 64)},
        {7, Rect(10, 21, 47, 59)},
        {8, kOffGrid},
        {-1, kOffGrid},
    };
    for (const Case& c : cases) {
        Rect r = kOffGrid;
        tracker.SnapHandle(r, c.handle);
        EXPECT_EQ(r, c.expected) << "handle " << c.handle;
    }
}

TEST_F(ElementTrackerTest, AnOutputElementKeepsItsSubCellOffsetUnderItsHandles)
{
    CFormElement* text = Make(FormElementType::Text, OutputCells(2, 2, 4, 1));
    ASSERT_NE(text, nullptr);
    // 45 twips are 3 pixels at 96 dpi: under a third of the 10-pixel cell.
    ASSERT_TRUE(text->SetOffset(QPoint(45, 75)));
    QPoint pixels(45, 75);
    OutputPage().TwipsToPixels(pixels);
    ASSERT_EQ(pixels, QPoint(3, 5));

    CElementTracker tracker;
    output.SetupTracker(tracker, text);
    Rect r = kOffGrid;
    tracker.SnapHandle(r, 2);
    EXPECT_EQ(r, Rect(13, 21, 53, 69));

    // The input pane's rectangles have no offset.
    CElementTracker sourceTracker;
    input.SetupTracker(sourceTracker, text);
    r = kOffGrid;
    sourceTracker.SnapHandle(r, 2);
    EXPECT_EQ(r, Rect(13, 21, 50, 64));
}

TEST_F(ElementTrackerTest, MovesSnapTheCornerAndStayOnThePage)
{
    CElementTracker tracker;
    output.SetupTracker(tracker, nullptr);
    struct Case
    {
        Rect dragged;
        Rect expected;
    };
    const Case cases[] = {
        {Rect(13, 21, 53, 53), Rect(10, 16, 50, 48)},             // corner to the nearest grid point
        {Rect(-13, 5, 27, 37), Rect(0, 0, 40, 32)},               // pushed back onto the page
        {Rect(800, 1110, 840, 1142), Rect(787, 1090, 827, 1122)}, // beyond the far corner
    };
    for (const Case& c : cases) {
        Rect r = c.dragged;
        tracker.AdjustRect(CElementTracker::hitMiddle, r);
        EXPECT_EQ(r, c.expected);
    }
}

TEST_F(ElementTrackerTest, ResizingSnapsClipsAndKeepsTheDraggedOrientation)
{
    CElementTracker tracker;
    output.SetupTracker(tracker, nullptr);
    Rect r(13, 21, 900, 59);
    tracker.AdjustRect(CElementTracker::hitRight, r);
    EXPECT_EQ(r, Rect(13, 21, 827, 59)) << "right edge stops at the page";

    // The left handle dragged right past the right edge (at 40): the
    // rectangle stays inverted as the user holds it, and the edge that
    // moves is the one on the grid.
    r = Rect(63, 21, 40, 48);
    tracker.AdjustRect(CElementTracker::hitLeft, r);
    EXPECT_EQ(r, Rect(60, 21, 40, 48));
    r = Rect(40, 59, 13, 16);
    tracker.AdjustRect(CElementTracker::hitBottomRight, r);
    EXPECT_EQ(r, Rect(40, 59, 10, 16)) << "inverted both ways: the moving corner (13, 16) snaps";

    // At 200 % the rules work in page pixels: 95 device pixels are 48
    // logical, snapped to 50, shown at 100.
    output.SetZoom(200, 200);
    r = Rect(20, 32, 95, 130);
    tracker.AdjustRect(CElementTracker::hitBottomRight, r);
    EXPECT_EQ(r, Rect(20, 32, 100, 128));
}

TEST_F(ElementTrackerTest, BarcodeHandlesFollowTheMouseButStayOnThePage)
{
    CFormElement* barcode = Make(FormElementType::Barcode, OutputCells(1, 1, 10, 3));
    ASSERT_NE(barcode, nullptr);
    CElementTracker tracker;
    output.SetupTracker(tracker, barcode);
    EXPECT_EQ(tracker.m_snapOnResize, 0);
    EXPECT_EQ(tracker.m_snapOnMove, 1);
    Rect r = kOffGrid;
    tracker.AdjustRect(CElementTracker::hitBottomRight, r);
    EXPECT_EQ(r, kOffGrid);
    r = Rect(-5, 21, 900, 59);
    tracker.AdjustRect(CElementTracker::hitBottomRight, r);
    EXPECT_EQ(r, Rect(0, 21, 827, 59));

    CFormElement* eraser = Make(FormElementType::Eraser, OutputCells(1, 5, 2, 2));
    output.SetupTracker(tracker, eraser);
    EXPECT_EQ(tracker.m_snapOnResize, 1) << "the set-up is made afresh for each element";
}

TEST_F(ElementTrackerTest, ARubberBandEndsOnTheGridAndAtThePageEdge)
{
    CElementTracker tracker;
    output.SetupTracker(tracker, nullptr);
    tracker.BeginRubberBand(QPoint(800, 10));
    tracker.TrackTo(QPoint(900, 40));
    // 40 lies half a cell from 32 and from 48: half rounds down.
    EXPECT_EQ(tracker.m_rect, Rect(800, 10, 827, 32));
    EXPECT_TRUE(tracker.EndTrack());

    // Dragged up and left, the band keeps its orientation.
    tracker.BeginRubberBand(QPoint(100, 100));
    tracker.TrackTo(QPoint(43, 37));
    EXPECT_EQ(tracker.m_rect, Rect(100, 100, 40, 32)) << "the moving corner snaps, not the start";
    EXPECT_TRUE(tracker.EndTrack());
    EXPECT_EQ(tracker.m_rect, Rect(100, 100, 40, 32));
}

TEST_F(ElementTrackerTest, TrackingEndsOrIsCancelled)
{
    CFormElement* eraser = Make(FormElementType::Eraser, OutputCells(2, 2, 4, 2));
    ASSERT_NE(eraser, nullptr);
    output.SetCurrentElement(eraser, FALSE);
    CElementTracker tracker;
    output.SetupTracker(tracker, eraser);
    const Rect start = tracker.m_rect;
    ASSERT_EQ(start, Rect(20, 32, 60, 64));

    tracker.BeginTrack(CElementTracker::hitBottomRight, QPoint(59, 63));
    EXPECT_TRUE(tracker.IsTracking());
    tracker.TrackTo(QPoint(78, 93));
    EXPECT_EQ(tracker.m_rect, Rect(20, 32, 80, 96));
    tracker.Cancel();
    EXPECT_FALSE(tracker.IsTracking());
    EXPECT_EQ(tracker.m_rect, start);

    tracker.BeginTrack(CElementTracker::hitBottomRight, QPoint(59, 63));
    EXPECT_FALSE(tracker.EndTrack()) << "released where it started";

    tracker.BeginTrack(CElementTracker::hitMiddle, QPoint(30, 40));
    tracker.TrackTo(QPoint(52, 40));
    EXPECT_TRUE(tracker.EndTrack());
    EXPECT_EQ(tracker.m_rect, Rect(40, 32, 80, 64));
}

TEST_F(ElementTrackerTest, HitCodesAndStylesFollowTheElementsState)
{
    CFormElement* current = Make(FormElementType::Eraser, OutputCells(2, 2, 6, 4)); // 20,32 - 80,96
    CFormElement* other = Make(FormElementType::Eraser, OutputCells(10, 2, 2, 2));
    output.SelectOnly(current);
    other->Select(TRUE);

    CElementTracker tracker;
    Rect trueRect;
    output.SetupTracker(tracker, current, &trueRect);
    EXPECT_EQ(tracker.GetStyle(), UINT(CElementTracker::solidLine | CElementTracker::resizeInside));
    EXPECT_EQ(trueRect, Rect(19, 31, 81, 97));
    struct Case
    {
        QPoint point;
        int hit;
    };
    const Case cases[] = {
        {QPoint(21, 33), 0}, {QPoint(78, 33), 1},  {QPoint(78, 94), 2},  {QPoint(21, 94), 3},
        {QPoint(50, 33), 4}, {QPoint(78, 64), 5},  {QPoint(50, 94), 6},  {QPoint(21, 64), 7},
        {QPoint(40, 50), 8}, {QPoint(10, 10), -1}, {QPoint(80, 96), -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(tracker.HitTest(c.point), c.hit) << c.point.x() << "," << c.point.y();

    output.SetupTracker(tracker, other);
    EXPECT_EQ(tracker.GetStyle(), UINT(CElementTracker::dottedLine));
    EXPECT_EQ(tracker.HitTest(QPoint(101, 33)), CElementTracker::hitMiddle) << "no handles but the current's";

    other->Select(FALSE);
    output.SetupTracker(tracker, other, &trueRect);
    EXPECT_EQ(tracker.GetStyle(), 0u);
    EXPECT_EQ(trueRect, Rect(100, 32, 120, 64));

    // Without an element the tracker is empty and hits nothing.
    output.SetupTracker(tracker, nullptr, &trueRect);
    EXPECT_EQ(tracker.m_rect, Rect());
    EXPECT_EQ(tracker.HitTest(QPoint(0, 0)), -1);
}

TEST_F(ElementTrackerTest, TheFrameIsDrawnWithItsHandles)
{
    CElementTracker tracker;
    tracker.m_rect = Rect(10, 10, 50, 40);
    tracker.SetStyle(CElementTracker::solidLine | CElementTracker::resizeInside);
    QImage image(60, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter p(&image);
        tracker.Draw(p);
    }
    EXPECT_EQ(image.pixelColor(30, 10), QColor(Qt::black)) << "top line";
    EXPECT_EQ(image.pixelColor(12, 12), QColor(Qt::black)) << "top-left handle";
    EXPECT_EQ(image.pixelColor(30, 25), QColor(Qt::white)) << "inside left alone";
    EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::white));
}
