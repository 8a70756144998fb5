// The mouse gestures of a design pane, each on its own: what a cancelled
// gesture leaves behind, and where a press on an element turns into a drag.

#include "designer/views/DesignGestures.h"
#include "designer/views/tests/ViewTestFixture.h"

#include <QMimeData>

#include <memory>
#include <ostream>

namespace {

// The output pane of ViewTest with one eraser element at
// (100, 96, 200, 128), the pane's current element.
class GestureFixture : public ViewTest
{
protected:
    void SetUp() override
    {
        ViewTest::SetUp();
        element = AddElement(FormElementType::Eraser, kElementRect);
        ASSERT_NE(element, nullptr);
        view->SelectOnly(element);
    }

    void TearDown() override
    {
        CDesignView::SetDragRunner(nullptr);
        ViewTest::TearDown();
    }

    // A device point on the bottom-right handle of the element's frame.
    QPoint BottomRightHandle()
    {
        CElementTracker tracker;
        view->SetupTracker(tracker, element);
        const QPoint point = tracker.m_rect.BottomRight() - QPoint(2, 2);
        EXPECT_EQ(tracker.HitTest(point), CElementTracker::hitBottomRight);
        return point;
    }

    // What the output pane shows now.
    QImage Screen() { return Picture(output); }
    CFormElement* AddElement(int type, const kwvd::Rect& rect) { return Make(type, rect); }

    static constexpr kwvd::Rect kElementRect{100, 96, 200, 128};

    CDDestView* const view = &output;

    CFormElement* element = nullptr;
};

// ---- Escape in the middle of each gesture

struct CancelCase
{
    const char* name;
    int tool;
    // Where the press goes: empty page, or the element's bottom-right handle.
    bool onHandle;
};

void PrintTo(const CancelCase& c, std::ostream* os)
{
    *os << c.name;
}

class GestureCancel : public GestureFixture, public ::testing::WithParamInterface<CancelCase>
{};

TEST_P(GestureCancel, EscapeLeavesNothingDrawnNothingChangedAndTheReleaseDoesNothing)
{
    const CancelCase& c = GetParam();
    frame.tool = c.tool;
    const QImage before = Screen();
    const int elements = doc.GetElementList().GetCount();
    const int undoSteps = doc.GetUndoList().GetCount();
    const QPoint from = c.onHandle ? BottomRightHandle() : QPoint(20, 200);
    const QPoint to = from + QPoint(60, 40);

    view->OnLButtonDown(from, Qt::NoModifier);
    view->OnMouseMove(from + QPoint(5, 5), Qt::NoModifier);
    view->OnMouseMove(to, Qt::NoModifier);
    // The dotted frame shows while the gesture runs.
    ASSERT_NE(Screen(), before) << c.name;

    view->OnKeyDown(Qt::Key_Escape, 1);
    view->OnLButtonUp(to, Qt::NoModifier);

    // A band on empty page deselects on the press; the pane is then drawn
    // as with nothing current.
    if (!c.onHandle)
        view->SelectOnly(element);
    EXPECT_EQ(Screen(), before) << c.name;
    EXPECT_EQ(doc.GetElementList().GetCount(), elements) << c.name;
    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps) << c.name;
    EXPECT_EQ(element->GetDestRect(), kElementRect) << c.name;
    EXPECT_EQ(frame.tool, DrawingTool::Select) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, GestureCancel,
                         ::testing::Values(CancelCase{"SelectBand", DrawingTool::Select, false},
                                           CancelCase{"ToolBand", DrawingTool::Eraser, false},
                                           CancelCase{"HandleResize", DrawingTool::Select, true}),
                         [](const ::testing::TestParamInfo<CancelCase>& info) { return info.param.name; });

// The same resize, released instead of cancelled, is one undo step: the
// cancel test above would pass on a pane that never resized at all.
TEST_F(GestureFixture, HandleResizeReleasedIsOneUndoStep)
{
    const int undoSteps = doc.GetUndoList().GetCount();
    CHandleResizeGesture resize(*view, element, CElementTracker::hitBottomRight);
    const QPoint from = BottomRightHandle();
    resize.Press(from, Qt::NoModifier);
    ASSERT_TRUE(resize.Move(from + QPoint(60, 40)));
    resize.Release(from + QPoint(60, 40), Qt::NoModifier);

    EXPECT_EQ(doc.GetUndoList().GetCount(), undoSteps + 1);
    EXPECT_EQ(element->GetDestRect().TopLeft(), kElementRect.TopLeft());
    EXPECT_GT(element->GetDestRect().Width(), kElementRect.Width());
    EXPECT_GT(element->GetDestRect().Height(), kElementRect.Height());
}

// ---- the dead zone of a press on an element

struct DeadZoneCase
{
    const char* name;
    QPoint step;
    bool drags;
};

void PrintTo(const DeadZoneCase& c, std::ostream* os)
{
    *os << c.name;
}

class ElementDragDeadZone : public GestureFixture, public ::testing::WithParamInterface<DeadZoneCase>
{};

TEST_P(ElementDragDeadZone, OnlyAMoveOutOfTheZoneStartsADrag)
{
    const DeadZoneCase& c = GetParam();
    int drags = 0;
    CDesignView::SetDragRunner([&drags](CDesignView*, std::unique_ptr<QMimeData>, Qt::DropActions) {
        ++drags;
        return Qt::IgnoreAction;
    });
    const QPoint press = view->DocToClientPoint(QPoint(150, 112));
    CElementDragGesture drag(*view, element);
    drag.Press(press, Qt::NoModifier);

    // Move answers whether the gesture goes on.
    EXPECT_EQ(drag.Move(press + c.step), !c.drags) << c.name;
    EXPECT_EQ(drags, c.drags ? 1 : 0) << c.name;
    // A drag nobody took leaves the element where it was.
    EXPECT_TRUE(doc.ContainsElement(element)) << c.name;
    EXPECT_EQ(element->GetDestRect(), kElementRect) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, ElementDragDeadZone,
                         ::testing::Values(DeadZoneCase{"SamePoint", {0, 0}, false},
                                           DeadZoneCase{"OnePixelDiagonal", {1, 1}, false},
                                           DeadZoneCase{"OnePixelBack", {-1, -1}, false},
                                           DeadZoneCase{"TwoPixelsRight", {2, 0}, true},
                                           DeadZoneCase{"TwoPixelsUp", {0, -2}, true}),
                         [](const ::testing::TestParamInfo<DeadZoneCase>& info) { return info.param.name; });

} // namespace
