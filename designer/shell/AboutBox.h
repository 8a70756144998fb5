#pragma once
// The about box. Left open for a minute it starts to creep, one pixel a tick
// on each axis, until its OK button sits under the mouse pointer.

#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QTimer>

class QLabel;
class QPushButton;

// One step of the creep: the box's frame rectangle moves one pixel on each
// axis towards the place where okCentre (relative to the box's top left)
// lies under pointer, without a move on an axis already there; the result
// is pushed back inside bounds. All in one coordinate system.
QRect CreepStep(const QRect& box, const QPoint& okCentre, const QPoint& pointer, const QRect& bounds);

class CAboutBox : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kIdleTimer = 3;
    static constexpr int kCreepTimer = 4;
    static constexpr int kIdleMilliseconds = 60000;
    static constexpr int kCreepMilliseconds = 10;
    static constexpr int kTicksBeforeCreep = 1000;

    explicit CAboutBox(QWidget* parent = nullptr);
    ~CAboutBox() override;

    // What the timers do when they fire; public so that a test drives them.
    void OnTimer(int timer);

    int Ticks() const { return m_ticks; }
    bool IsCreepTimerRunning() const { return m_creepTimer.isActive(); }
    bool IsIdleTimerRunning() const { return m_idleTimer.isActive(); }
    bool IsCapturing() const { return m_capturing; }
    QLabel* VersionLabel() const { return m_version; }

    // The last pointer position seen, in global coordinates; the creep
    // follows it. Tests set it.
    void SetPointer(const QPoint& global) { m_pointer = global; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QRect CreepBounds() const;
    void ReleaseCapture();

    QLabel* m_version = nullptr;
    QPushButton* m_ok = nullptr;
    QTimer m_idleTimer;
    QTimer m_creepTimer;
    int m_ticks = 0;
    bool m_capturing = false;
    QPoint m_pointer;
    QRect m_okRect;    // client coordinates
    QPoint m_okCentre; // relative to the frame's top left
};
