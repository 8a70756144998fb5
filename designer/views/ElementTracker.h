#pragma once
// The frame with handles around a pane's current element, and the object
// the user drags to move, resize or draw a band. Its rectangle is in device
// (client) pixels; while it tracks, every move is brought onto the page's
// grid and kept on the page, so what the user sees is what the element
// becomes.
//
// Tracking is driven by the pane's own mouse and key events: BeginTrack or
// BeginRubberBand on the button press, TrackTo on each move, EndTrack on the
// release, Cancel on Escape. Nothing here runs a loop of its own.

#include "platform/framework/Rect.h"
#include "platform/framework/Types.h"

#include <QPoint>
#include <Qt>

class CDesignView;
class CFormElement;
class CPage;
class QPainter;

class CElementTracker
{
public:
    // Style bits.
    enum StyleFlags : UINT {
        solidLine = 1,
        dottedLine = 2,
        hatchedBorder = 4,
        resizeInside = 8,
        resizeOutside = 16,
        hatchInside = 32,
    };
    // Hit codes: -1 nothing, the eight handles, 8 the inside.
    enum TrackerHit : int {
        hitNothing = -1,
        hitTopLeft = 0,
        hitTopRight = 1,
        hitBottomRight = 2,
        hitBottomLeft = 3,
        hitTop = 4,
        hitRight = 5,
        hitBottom = 6,
        hitLeft = 7,
        hitMiddle = 8,
    };
    static constexpr int kHandleSize = 7;

    CElementTracker();
    virtual ~CElementTracker();

    CElementTracker(const CElementTracker&) = delete;
    CElementTracker& operator=(const CElementTracker&) = delete;

    // ---- set-up (the pane's SetupTracker fills these)
    void SetView(CDesignView* view) { m_pView = view; }
    CDesignView* GetView() const { return m_pView; }
    void SetPage(CPage* page) { m_pPage = page; }
    CPage* GetPage() const { return m_pPage; }
    void SetElement(CFormElement* element) { m_pElement = element; }
    CFormElement* GetElement() const { return m_pElement; }
    void SetStyle(UINT style) { m_nStyle = style; }
    UINT GetStyle() const { return m_nStyle; }

    int m_snapOnMove = 1;
    int m_snapOnResize = 1;
    // Device pixels; right and bottom exclusive; may be inverted while
    // tracking.
    kwvd::Rect m_rect;

    // The element's rectangle of the pane's side, normalised and converted
    // to device pixels; (0, 0, 0, 0) without element or pane.
    void SetRectFromElement();

    // ---- what the frame shows
    // The rectangle normalised and grown by the border and handles the
    // style draws.
    kwvd::Rect GetTrueRect() const;
    // Handle under the device point, 8 inside, -1 elsewhere. An empty
    // rectangle hits nothing.
    int HitTest(QPoint point) const;
    // The cursor shape for a hit code.
    static Qt::CursorShape CursorForHit(int hit);
    // Draws the frame and handles of the style in device pixels.
    void Draw(QPainter& painter) const;

    // ---- grid rules (called for every move while tracking)
    virtual void AdjustRect(int handle, kwvd::Rect& rect);
    // Moves the coordinates the handle controls to the grid.
    void SnapHandle(kwvd::Rect& rect, int handle) const;

    // ---- tracking
    // Starts dragging a handle (0-8) of the rectangle from a device point.
    void BeginTrack(int handle, QPoint start);
    // Starts a band at the point; its bottom-right corner follows the mouse.
    void BeginRubberBand(QPoint start);
    BOOL IsTracking() const { return m_tracking; }
    BOOL IsRubberBand() const { return m_rubberBand; }
    int GetTrackHandle() const { return m_trackHandle; }
    // The mouse is at the device point: the rectangle follows and is
    // adjusted. Nothing when not tracking.
    void TrackTo(QPoint point);
    // The button went up: TRUE when the rectangle differs from where it
    // started. The rectangle stays as tracked (a band keeps its
    // orientation, a handle drag is normalised).
    BOOL EndTrack();
    // Escape: the rectangle goes back to where it started.
    void Cancel();

private:
    CDesignView* m_pView = nullptr;
    CPage* m_pPage = nullptr;
    CFormElement* m_pElement = nullptr;
    UINT m_nStyle = 0;

    BOOL m_tracking = FALSE;
    BOOL m_rubberBand = FALSE;
    int m_trackHandle = hitNothing;
    QPoint m_trackStart;
    kwvd::Rect m_rectAtStart;
};
