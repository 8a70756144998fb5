#pragma once
// A static control that shows a picture held in memory. An animated GIF
// (two or more frames that decode) is split into one-frame GIFs and played
// by a drawing thread of its own; any other picture Qt's readers know, a
// single-image GIF, or a GIF with only one frame that decodes, is shown
// still. The control takes the picture's size in pixels.
//
// The thread renders into an off-screen image under a lock and asks for the
// repaint through the event loop; it never touches the widget. Stop wakes
// it through a condition variable and joins it; the frame index survives,
// so the next Draw continues there. Delays are in hundredths of a second: a
// frame waits delay x 10 ms (32-bit product) when the delay is 5 or more,
// else 100 ms, so a frame without a graphic control extension (delay all
// ones) waits until stopped.

#include "platform/framework/Types.h"

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QWidget>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

struct TFrame
{
    QImage picture; // the decoded one-frame GIF, logical screen size
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    std::uint32_t delay = 0xFFFFFFFFu;
    std::uint32_t disposal = 0;
};

class CPictureEx : public QWidget
{
public:
    // Pictures larger than this are refused rather than allocated.
    static constexpr qint64 kMaxPixels = 64LL * 1024 * 1024;

    explicit CPictureEx(QWidget* parent = nullptr);
    ~CPictureEx() override;

    // The program's picture resource (":/kwvd/<type>/<id>").
    BOOL Load(UINT resourceId, const QString& type);
    BOOL Load(const QByteArray& data);
    BOOL DrawFirstFrame();
    BOOL Draw();
    void Stop();
    void UnLoad();

    // The wait each frame asks for, in milliseconds. The hook runs on the
    // drawing thread before the wait; returning true skips the wait (the
    // tests step frames this way), false waits until the time is up or Stop.
    using WaitHook = std::function<bool(std::uint32_t ms)>;
    void SetWaitHook(WaitHook hook) { m_waitHook = std::move(hook); }
    // Ends the drawing thread's current wait without joining it; Stop joins.
    void RequestStop();

    static std::uint32_t FrameWaitMs(std::uint32_t delay);

    bool IsGIF() const { return m_bIsGIF; }
    bool IsPlaying() const;
    int FrameIndex() const;
    int FrameCount() const { return static_cast<int>(m_arrFrames.size()); }
    const std::vector<TFrame>& Frames() const { return m_arrFrames; }
    QSize PictureSize() const { return m_PictureSize; }
    QColor BackgroundColour() const { return m_clrBackground; }
    // A copy of the off-screen picture.
    QImage Snapshot() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool PrepareDC(int width, int height);
    void ThreadMain();
    void RenderFrame(const TFrame& frame); // under m_imageLock
    void DisposeFrame(const TFrame& frame);
    void RenderStill();
    void RequestRepaint();

    QSize m_PictureSize;
    QColor m_clrBackground = Qt::white;
    bool m_bIsGIF = false;
    bool m_bIsPrepared = false;
    std::optional<QImage> m_single;
    std::vector<TFrame> m_arrFrames;

    mutable std::mutex m_imageLock; // the off-screen picture, the saved background, the frame index
    QImage m_offscreen;
    std::optional<QImage> m_savedBackground;
    int m_nCurrFrame = 0;

    mutable std::mutex m_stopLock;
    std::condition_variable m_stopEvent;
    bool m_bExitThread = false;
    bool m_bIsPlaying = false;
    std::thread m_thread;
    WaitHook m_waitHook;
};
