#pragma once
// What the left mouse button does in a design pane, one class per gesture:
// a band that selects, a band that creates an element of the picked tool, a
// handle drag that resizes the selection, and a press on an element that
// becomes a drag of the selection (or a resize when it was on a handle).
//
// The pane holds the active gesture and forwards its events to it: Press
// when the button goes down, Move for each mouse move, Release when the
// button goes up, Cancel on Escape. A press may change the selection; the
// elements themselves change only on Release (or when a drag starts), and
// only through the pane's public operations, so a cancelled gesture leaves
// no undo step. Points are device pixels of the pane's viewport.

#include "designer/views/ElementTracker.h"
#include "platform/framework/Rect.h"

#include <QPoint>
#include <Qt>

class CDesignView;
class CFormElement;
class QPainter;

class CDesignGesture
{
public:
    explicit CDesignGesture(CDesignView& view) : m_view(view) {}
    virtual ~CDesignGesture();

    CDesignGesture(const CDesignGesture&) = delete;
    CDesignGesture& operator=(const CDesignGesture&) = delete;

    // True while the gesture owns the mouse: presses are ignored and the
    // pane shows no hover cursor.
    virtual bool HoldsMouse() const = 0;
    virtual void Press(QPoint device, Qt::KeyboardModifiers keys) = 0;
    // False when the gesture ended or handed over to another one.
    virtual bool Move(QPoint device) = 0;
    // The gesture ends with either of these.
    virtual void Release(QPoint device, Qt::KeyboardModifiers keys) = 0;
    virtual void Cancel() = 0;
    // What the gesture shows over the elements, in device pixels.
    virtual void Draw(QPainter& painter) const = 0;

protected:
    CDesignView& m_view;
};

// A gesture that drags a tracker of its own and shows its rectangle dotted;
// what the rectangle means is the subclass's Finish.
class CTrackerGesture : public CDesignGesture
{
public:
    using CDesignGesture::CDesignGesture;

    bool HoldsMouse() const override { return true; }
    bool Move(QPoint device) override;
    void Release(QPoint device, Qt::KeyboardModifiers keys) override;
    void Cancel() override;
    void Draw(QPainter& painter) const override;

protected:
    // The button went up; changed is false when the rectangle never left
    // where it started. The tracker's rectangle is normalised.
    virtual void Finish(bool changed) = 0;
    virtual void OnCancelled() {}

    CElementTracker m_tracker;
};

// A band from the press point over empty space: selects what it meets,
// adding to the selection with Ctrl.
class CSelectBandGesture : public CTrackerGesture
{
public:
    using CTrackerGesture::CTrackerGesture;
    void Press(QPoint device, Qt::KeyboardModifiers keys) override;

protected:
    void Finish(bool changed) override;
};

// A band of a creating tool: an element of the tool's kind when the band
// spans at least one cell; the tool goes back to Select either way.
class CToolBandGesture : public CTrackerGesture
{
public:
    CToolBandGesture(CDesignView& view, int elementType) : CTrackerGesture(view), m_elementType(elementType) {}
    void Press(QPoint device, Qt::KeyboardModifiers keys) override;

protected:
    void Finish(bool changed) override;
    void OnCancelled() override;

private:
    void ResetTool();

    int m_elementType;
};

// A handle of the element's frame dragged from the press point: the
// selection is resized by what the frame gained or lost.
class CHandleResizeGesture : public CTrackerGesture
{
public:
    // The element is not owned; it may leave the document meanwhile.
    CHandleResizeGesture(CDesignView& view, CFormElement* element, int handle)
        : CTrackerGesture(view), m_pElement(element), m_handle(handle)
    {}
    void Press(QPoint device, Qt::KeyboardModifiers keys) override;

protected:
    void Finish(bool changed) override;

private:
    CFormElement* m_pElement;
    int m_handle;
};

// A press on an element. Leaving a small dead zone around the press point
// drags the selection by drag and drop (inside the frame) or hands over to a
// handle resize (on a handle); a release still inside makes Ctrl toggle the
// element.
class CElementDragGesture : public CDesignGesture
{
public:
    // The element under the press point; not owned.
    CElementDragGesture(CDesignView& view, CFormElement* hit) : CDesignGesture(view), m_pHit(hit) {}

    bool HoldsMouse() const override { return false; }
    void Press(QPoint device, Qt::KeyboardModifiers keys) override;
    bool Move(QPoint device) override;
    void Release(QPoint device, Qt::KeyboardModifiers keys) override;
    void Cancel() override {}
    void Draw(QPainter& /*painter*/) const override {}

private:
    CFormElement* m_pHit;
    QPoint m_start;
    // Holds both end points: only a real move leaves it.
    kwvd::Rect m_deadZone;
};

// The dotted frame of a band or a drop, inside the device rectangle.
void DrawFeedbackFrame(QPainter& painter, kwvd::Rect device);
