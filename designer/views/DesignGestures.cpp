#include "designer/views/DesignGestures.h"

#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/DesignView.h"

#include <QPainter>
#include <QPen>

#include <algorithm>
#include <memory>

using kwvd::Rect;

CDesignGesture::~CDesignGesture() = default;

void DrawFeedbackFrame(QPainter& painter, Rect device)
{
    device.Normalize();
    painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(device.left, device.top, std::max(device.Width() - 1, 0), std::max(device.Height() - 1, 0)));
}

// ---------------------------------------------------------------- tracker gestures

bool CTrackerGesture::Move(QPoint device)
{
    m_tracker.TrackTo(device);
    m_view.viewport()->update();
    return true;
}

void CTrackerGesture::Release(QPoint device, Qt::KeyboardModifiers /*keys*/)
{
    m_tracker.TrackTo(device);
    const BOOL changed = m_tracker.EndTrack();
    m_view.viewport()->update();
    m_tracker.m_rect.Normalize();
    Finish(changed != FALSE);
}

void CTrackerGesture::Cancel()
{
    m_tracker.Cancel();
    m_view.viewport()->update();
    OnCancelled();
}

void CTrackerGesture::Draw(QPainter& painter) const
{
    DrawFeedbackFrame(painter, m_tracker.m_rect);
}

void CSelectBandGesture::Press(QPoint device, Qt::KeyboardModifiers keys)
{
    if (!keys.testFlag(Qt::ControlModifier))
        m_view.DeselectAll(TRUE);
    m_view.SetupTracker(m_tracker, nullptr);
    m_tracker.BeginRubberBand(device);
}

void CSelectBandGesture::Finish(bool changed)
{
    if (!changed)
        return;
    Rect band = m_view.ClientToDocRect(m_tracker.m_rect);
    band.Normalize();
    m_view.SetCurrentElement(m_view.SelectInRect(band), TRUE);
}

void CToolBandGesture::Press(QPoint device, Qt::KeyboardModifiers /*keys*/)
{
    m_view.SetupTracker(m_tracker, nullptr);
    m_tracker.BeginRubberBand(device);
}

void CToolBandGesture::Finish(bool changed)
{
    if (changed) {
        Rect band = m_view.ClientToDocRect(m_tracker.m_rect);
        band.Normalize();
        const QSize cell = m_view.GetCellSize();
        if (band.Width() >= cell.width() || band.Height() >= cell.height())
            m_view.CreateElementAt(m_elementType, &band);
    }
    ResetTool();
}

void CToolBandGesture::OnCancelled()
{
    ResetTool();
}

void CToolBandGesture::ResetTool()
{
    if (IDesignFrame* frame = m_view.GetDesignFrame())
        frame->ResetToolUnlessLocked();
}

void CHandleResizeGesture::Press(QPoint device, Qt::KeyboardModifiers /*keys*/)
{
    m_view.SetupTracker(m_tracker, m_pElement);
    m_tracker.BeginTrack(m_handle, device);
}

void CHandleResizeGesture::Finish(bool changed)
{
    CDesignerDoc* doc = m_view.GetDesignerDoc();
    if (!changed || doc == nullptr || m_pElement == nullptr || !doc->ContainsElement(m_pElement))
        return;
    const Rect now = m_view.ClientToDocRect(m_tracker.m_rect);
    Rect old = m_view.GetElementRect(m_pElement);
    old.Normalize();
    m_view.ResizeSelection(m_tracker.GetTrackHandle(), now.Width() - old.Width(), now.Height() - old.Height());
}

// ---------------------------------------------------------------- element drag

void CElementDragGesture::Press(QPoint device, Qt::KeyboardModifiers keys)
{
    const bool ctrl = keys.testFlag(Qt::ControlModifier);
    const bool shift = keys.testFlag(Qt::ShiftModifier);
    CFormElement* current = m_view.GetCurrentElement();
    if (!ctrl) {
        // Clicking the current element keeps a multiple selection, so that
        // it can be dragged as a whole.
        if (!m_view.IsCurrentElement(m_pHit))
            m_view.SelectOnly(m_pHit);
    } else if (shift && current != nullptr && current != m_pHit) {
        Rect a = m_view.GetElementRect(current);
        Rect b = m_view.GetElementRect(m_pHit);
        a.Normalize();
        b.Normalize();
        m_view.SelectInRect(a.United(b));
        m_view.SetCurrentElement(m_pHit, TRUE);
    }
    m_start = device;
    m_deadZone = Rect(device.x() - 1, device.y() - 1, device.x() + 1, device.y() + 1);
}

bool CElementDragGesture::Move(QPoint device)
{
    if (device.x() >= m_deadZone.left && device.x() <= m_deadZone.right && device.y() >= m_deadZone.top
        && device.y() <= m_deadZone.bottom)
        return true;

    CFormElement* element = m_view.HitTestElement(m_start);
    CElementTracker scratch;
    m_view.SetupTracker(scratch, element);
    const int handle = scratch.HitTest(m_start);
    if (handle == CElementTracker::hitMiddle) {
        if (m_view.StartElementDrag(m_start, scratch.m_rect)) {
            m_view.DeleteSelection();
            if (CDesignerDoc* doc = m_view.GetDesignerDoc())
                doc->SetModifiedFlag(TRUE);
        }
    } else if (handle >= CElementTracker::hitTopLeft && handle <= CElementTracker::hitLeft) {
        m_view.viewport()->update();
        auto resize = std::make_unique<CHandleResizeGesture>(m_view, element, handle);
        resize->Press(m_start, Qt::NoModifier);
        resize->Move(device);
        m_view.HandOverGesture(std::move(resize));
    }
    return false;
}

void CElementDragGesture::Release(QPoint device, Qt::KeyboardModifiers keys)
{
    // Ctrl toggles the clicked element; with Shift too the press already
    // selected the span and made the element current, which stays.
    if (!keys.testFlag(Qt::ControlModifier) || keys.testFlag(Qt::ShiftModifier))
        return;
    CFormElement* hit = m_view.HitTestElement(device);
    if (hit != nullptr && hit == m_view.GetCurrentElement())
        m_view.DeselectElement(hit);
    else if (hit != nullptr)
        m_view.SetCurrentElement(hit, TRUE);
}
