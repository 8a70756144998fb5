#include "designer/views/ElementTracker.h"

#include "designer/document/Page.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignView.h"

#include <QPainter>
#include <QPen>

#include <utility>

using kwvd::Rect;

CElementTracker::CElementTracker() = default;

CElementTracker::~CElementTracker() = default;

void CElementTracker::SetRectFromElement()
{
    if (m_pElement == nullptr || m_pView == nullptr) {
        m_rect = Rect();
        return;
    }
    Rect logical = m_pView->GetElementRect(m_pElement);
    logical.Normalize();
    m_rect = m_pView->DocToClientRect(logical);
}

Rect CElementTracker::GetTrueRect() const
{
    Rect r = m_rect;
    r.Normalize();
    if (m_nStyle & resizeOutside)
        r.Inflate(kHandleSize, kHandleSize);
    if (m_nStyle & (solidLine | dottedLine | hatchedBorder))
        r.Inflate(1, 1);
    return r;
}

namespace {

// The handle boxes of a normalised rectangle, in hit-code order 0-7.
Rect HandleBox(const Rect& r, int handle, bool inside)
{
    const int s = CElementTracker::kHandleSize;
    // Inside handles sit within the frame, outside ones beyond it.
    const int left = inside ? r.left : r.left - s;
    const int top = inside ? r.top : r.top - s;
    const int right = inside ? r.right - s : r.right;
    const int bottom = inside ? r.bottom - s : r.bottom;
    const int midX = r.left + (r.Width() - s) / 2;
    const int midY = r.top + (r.Height() - s) / 2;
    int x = 0;
    int y = 0;
    switch (handle) {
    case 0:
        x = left;
        y = top;
        break;
    case 1:
        x = right;
        y = top;
        break;
    case 2:
        x = right;
        y = bottom;
        break;
    case 3:
        x = left;
        y = bottom;
        break;
    case 4:
        x = midX;
        y = top;
        break;
    case 5:
        x = right;
        y = midY;
        break;
    case 6:
        x = midX;
        y = bottom;
        break;
    case 7:
        x = left;
        y = midY;
        break;
    default:
        return Rect();
    }
    return Rect(x, y, x + s, y + s);
}

bool HasHandles(UINT style)
{
    return (style & (CElementTracker::resizeInside | CElementTracker::resizeOutside)) != 0;
}

int MirrorHandleX(int handle)
{
    static constexpr int mirrored[8] = {1, 0, 3, 2, 4, 7, 6, 5};
    return handle >= 0 && handle < 8 ? mirrored[handle] : handle;
}

int MirrorHandleY(int handle)
{
    static constexpr int mirrored[8] = {3, 2, 1, 0, 6, 5, 4, 7};
    return handle >= 0 && handle < 8 ? mirrored[handle] : handle;
}

} // namespace

int CElementTracker::HitTest(QPoint point) const
{
    Rect r = m_rect;
    r.Normalize();
    if (r.IsEmpty())
        return hitNothing;
    if (HasHandles(m_nStyle)) {
        const bool inside = (m_nStyle & resizeInside) != 0;
        // A rectangle too small for side handles offers only its corners.
        const bool sides = r.Width() >= 3 * kHandleSize && r.Height() >= 3 * kHandleSize;
        for (int h = 0; h < 8; ++h) {
            if (h >= 4 && !sides)
                break;
            if (HandleBox(r, h, inside).Contains(point))
                return h;
        }
    }
    return r.Contains(point) ? hitMiddle : hitNothing;
}

Qt::CursorShape CElementTracker::CursorForHit(int hit)
{
    switch (hit) {
    case hitTopLeft:
    case hitBottomRight:
        return Qt::SizeFDiagCursor;
    case hitTopRight:
    case hitBottomLeft:
        return Qt::SizeBDiagCursor;
    case hitTop:
    case hitBottom:
        return Qt::SizeVerCursor;
    case hitLeft:
    case hitRight:
        return Qt::SizeHorCursor;
    case hitMiddle:
        return Qt::SizeAllCursor;
    default:
        return Qt::ArrowCursor;
    }
}

void CElementTracker::Draw(QPainter& painter) const
{
    Rect r = m_rect;
    r.Normalize();
    painter.save();
    painter.resetTransform();
    painter.setBrush(Qt::NoBrush);
    const QRect frame(r.left, r.top, r.Width() - 1, r.Height() - 1);
    if (m_nStyle & solidLine) {
        painter.setPen(QPen(Qt::black, 0, Qt::SolidLine));
        painter.drawRect(frame);
    } else if (m_nStyle & dottedLine) {
        painter.setPen(QPen(Qt::black, 0, Qt::DotLine));
        painter.drawRect(frame);
    }
    if (HasHandles(m_nStyle)) {
        const bool inside = (m_nStyle & resizeInside) != 0;
        const bool sides = r.Width() >= 3 * kHandleSize && r.Height() >= 3 * kHandleSize;
        for (int h = 0; h < 8; ++h) {
            if (h >= 4 && !sides)
                break;
            painter.fillRect(HandleBox(r, h, inside).ToQRect(), Qt::black);
        }
    }
    painter.restore();
}

void CElementTracker::AdjustRect(int handle, Rect& rect)
{
    if ((m_snapOnMove != 1 && m_snapOnResize != 1) || m_pView == nullptr || m_pPage == nullptr)
        return;
    Rect copy = rect;
    copy.Normalize();
    copy = m_pView->ClientToDocRect(copy);
    if (handle == hitMiddle) {
        if (m_snapOnMove == 1) {
            QPoint corner = copy.TopLeft();
            m_pPage->SnapPointToGrid(corner);
            copy.Offset(corner.x() - copy.left, corner.y() - copy.top);
        }
        m_pPage->ClampToPage(copy, TRUE);
    } else {
        // Past the opposite edge the moving edge is the other side of the
        // normalised copy: snap that one, not the edge the user holds still.
        int moving = handle;
        if (rect.right < rect.left)
            moving = MirrorHandleX(moving);
        if (rect.bottom < rect.top)
            moving = MirrorHandleY(moving);
        if (m_snapOnResize == 1)
            SnapHandle(copy, moving);
        copy.left = std::max(copy.left, 0);
        copy.top = std::max(copy.top, 0);
        copy.right = std::min(copy.right, m_pPage->GetPixelWidth());
        copy.bottom = std::min(copy.bottom, m_pPage->GetPixelHeight());
    }
    copy = m_pView->DocToClientRect(copy);
    copy.Normalize();
    // Keep the orientation the user dragged into.
    if (rect.right < rect.left)
        std::swap(copy.left, copy.right);
    if (rect.bottom < rect.top)
        std::swap(copy.top, copy.bottom);
    rect = copy;
}

void CElementTracker::SnapHandle(Rect& rect, int handle) const
{
    int* x = nullptr;
    int* y = nullptr;
    switch (handle) {
    case 0:
        x = &rect.left;
        y = &rect.top;
        break;
    case 1:
        x = &rect.right;
        y = &rect.top;
        break;
    case 2:
        x = &rect.right;
        y = &rect.bottom;
        break;
    case 3:
        x = &rect.left;
        y = &rect.bottom;
        break;
    case 4:
        y = &rect.top;
        break;
    case 5:
        x = &rect.right;
        break;
    case 6:
        y = &rect.bottom;
        break;
    case 7:
        x = &rect.left;
        break;
    default:
        return;
    }
    if (m_pPage == nullptr)
        return;
    QPoint point(x != nullptr ? *x : 0, y != nullptr ? *y : 0);
    m_pPage->SnapPointToGrid(point);
    QPoint offset(0, 0);
    // An output element a fraction of a cell off the grid keeps that
    // fraction while its handles move.
    if (m_pView != nullptr && m_pView->GetSide() == PaneSide::Output && m_pElement != nullptr) {
        offset = m_pElement->GetOffset();
        m_pPage->TwipsToPixels(offset);
    }
    if (x != nullptr)
        *x = point.x() + offset.x();
    if (y != nullptr)
        *y = point.y() + offset.y();
}

void CElementTracker::BeginTrack(int handle, QPoint start)
{
    m_tracking = TRUE;
    m_rubberBand = FALSE;
    m_trackHandle = handle;
    m_trackStart = start;
    m_rectAtStart = m_rect;
}

void CElementTracker::BeginRubberBand(QPoint start)
{
    m_rect = Rect(start.x(), start.y(), start.x(), start.y());
    m_tracking = TRUE;
    m_rubberBand = TRUE;
    m_trackHandle = hitBottomRight;
    m_trackStart = start;
    m_rectAtStart = m_rect;
}

void CElementTracker::TrackTo(QPoint point)
{
    if (!m_tracking)
        return;
    const int dx = point.x() - m_trackStart.x();
    const int dy = point.y() - m_trackStart.y();
    Rect r = m_rectAtStart;
    switch (m_trackHandle) {
    case hitTopLeft:
        r.left += dx;
        r.top += dy;
        break;
    case hitTopRight:
        r.right += dx;
        r.top += dy;
        break;
    case hitBottomRight:
        r.right += dx;
        r.bottom += dy;
        break;
    case hitBottomLeft:
        r.left += dx;
        r.bottom += dy;
        break;
    case hitTop:
        r.top += dy;
        break;
    case hitRight:
        r.right += dx;
        break;
    case hitBottom:
        r.bottom += dy;
        break;
    case hitLeft:
        r.left += dx;
        break;
    case hitMiddle:
        r.Offset(dx, dy);
        break;
    default:
        return;
    }
    AdjustRect(m_trackHandle, r);
    m_rect = r;
}

BOOL CElementTracker::EndTrack()
{
    if (!m_tracking)
        return FALSE;
    m_tracking = FALSE;
    if (!m_rubberBand)
        m_rect.Normalize();
    Rect before = m_rectAtStart;
    if (!m_rubberBand)
        before.Normalize();
    return m_rect == before ? FALSE : TRUE;
}

void CElementTracker::Cancel()
{
    if (!m_tracking)
        return;
    m_tracking = FALSE;
    m_rect = m_rectAtStart;
}
