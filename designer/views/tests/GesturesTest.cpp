// The mouse gestures of a design pane, each on its own: what a cancelled
// gesture leaves behind, and where a press on an element turns into a drag.

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DDestView.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/DesignGestures.h"
#include "designer/views/ElementTracker.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

namespace {

// Only what the gestures ask of a frame: the tool and its reset.
class ToolFrame : public IDesignFrame
{
public:
    int GetCurrentTool() const override { return tool; }
    void ResetToolUnlessLocked() override { tool = DrawingTool::Select; }
    CFormElement* GetAnchorElement() const override { return nullptr; }
    void NotifyExplorer(CObject*, LPARAM) override {}
    void SetPropertySheetElement(CFormElement*) override {}
    BOOL IsPropertySheetShown() const override { return FALSE; }
    void ShowPropertySheet() override {}
    void RefreshPropertySheet() override {}
    BOOL ExecuteCommand(UINT) override { return FALSE; }
    std::optional<kwvd::RegistryKey> OpenLayoutKey(const QString&, bool) override { return std::nullopt; }
    void OnPaneActivated(CDesignView*) override {}

    int tool = DrawingTool::Select;
};

void EnsureApplication()
{
    if (QApplication::instance() == nullptr)
    {
        static int argc = 1;
        static char name[] = "kwvd_views_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv); // lives for the whole run, as a program's would
    }
}

// An output pane of 400 x 300 at 100 % over a new document holding one
// eraser element at (100, 96, 200, 128), the pane's current element.
class GestureFixture : public ::testing::Test
{
protected:
    GestureFixture()
    {
        EnsureApplication();
        env.prefs.ZoomDest = {100, 100};
        env.prefs.ZoomSource = {100, 100};
    }

    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        view = std::make_unique<CDDestView>();
        view->SetDesignFrame(&frame);
        view->SetDocument(&doc);
        view->resize(400, 300);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        view->OnInitialUpdate();
        {
            CDocChangeGuard change(&doc);
            element = doc.CreateNewElement(FormElementType::Eraser, PaneSide::Output, kElementRect, nullptr);
        }
        ASSERT_NE(element, nullptr);
        view->SelectOnly(element);
    }

    void TearDown() override
    {
        CDesignView::SetDragRunner(nullptr);
        if (view)
            view->SetDocument(nullptr);
        view.reset();
    }

    QImage Screen()
    {
        view->viewport()->update();
        QApplication::processEvents();
        return view->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    // A device point on the handle of the current element's frame.
    QPoint HandlePoint(int handle)
    {
        CElementTracker tracker;
        view->SetupTracker(tracker, element);
        const kwvd::Rect r = tracker.m_rect;
        const QPoint inset(2, 2);
        const QPoint point = handle == CElementTracker::hitBottomRight ? r.BottomRight() - inset : r.TopLeft() + inset;
        EXPECT_EQ(tracker.HitTest(point), handle);
        return point;
    }

    static constexpr kwvd::Rect kElementRect{100, 96, 200, 128};

    WvdTestEnvironment env;
    CDesignerDoc doc;
    ToolFrame frame;
    std::unique_ptr<CDDestView> view;
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
{
};

TEST_P(GestureCancel, EscapeLeavesNothingDrawnNothingChangedAndTheReleaseDoesNothing)
{
    const CancelCase& c = GetParam();
    frame.tool = c.tool;
    const QImage before = Screen();
    const int elements = doc.GetElementList().GetCount();
    const int undoSteps = doc.GetUndoList().GetCount();
    const QPoint from = c.onHandle ? HandlePoint(CElementTracker::hitBottomRight) : QPoint(20, 200);
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
    const QPoint from = HandlePoint(CElementTracker::hitBottomRight);
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
{
};

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
