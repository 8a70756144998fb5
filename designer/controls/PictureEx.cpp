#include "designer/controls/PictureEx.h"

#include "designer/controls/GifFrames.h"

#include <QFile>
#include <QPainter>

#include <chrono>

CPictureEx::CPictureEx(QWidget* parent) : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CPictureEx::sizeHint() const
{
    return m_PictureSize.isValid() ? m_PictureSize : QSize(0, 0);
}

CPictureEx::~CPictureEx()
{
    UnLoad();
}

std::uint32_t CPictureEx::FrameWaitMs(std::uint32_t delay)
{
    return delay >= 5 ? static_cast<std::uint32_t>(delay * 10u) : 100u;
}

BOOL CPictureEx::Load(UINT resourceId, const QString& type)
{
    QFile file(QStringLiteral(":/kwvd/%1/%2").arg(type).arg(resourceId));
    if (!file.open(QIODevice::ReadOnly))
        return FALSE;
    return Load(file.readAll());
}

BOOL CPictureEx::Load(const QByteArray& data)
{
    UnLoad();
    const std::optional<GifLayout> layout = ReadGifLayout(data);
    if (!layout) {
        if (IsGifData(data))
            return FALSE;
        const QImage picture = QImage::fromData(data);
        if (picture.isNull())
            return FALSE;
        m_single = picture;
        if (!PrepareDC(picture.width(), picture.height())) {
            UnLoad();
            return FALSE;
        }
        return TRUE;
    }

    m_bIsGIF = true;
    const int blocks = CountGraphicBlocks(data, *layout);
    if (blocks == 0 || qint64(layout->width) * layout->height > kMaxPixels) {
        UnLoad();
        return FALSE;
    }
    if (blocks == 1) {
        const QImage picture = QImage::fromData(data, "GIF");
        if (picture.isNull()) {
            UnLoad();
            return FALSE;
        }
        m_single = picture;
    } else {
        qsizetype offset = layout->firstBlock;
        while (const std::optional<GifFrameBytes> bytes = ExtractGifFrame(data, *layout, offset)) {
            QImage picture = QImage::fromData(bytes->gif, "GIF");
            if (picture.isNull())
                continue; // a frame the reader refuses is left out
            m_arrFrames.push_back({std::move(picture), bytes->width, bytes->height, bytes->left, bytes->top,
                                   bytes->delay, bytes->disposal});
        }
        if (m_arrFrames.empty()) {
            UnLoad();
            return FALSE;
        }
    }
    if (!PrepareDC(layout->width, layout->height)) {
        UnLoad();
        return FALSE;
    }
    return TRUE;
}

bool CPictureEx::PrepareDC(int width, int height)
{
    if (width <= 0 || height <= 0 || qint64(width) * height > kMaxPixels)
        return false;
    QImage offscreen(width, height, QImage::Format_ARGB32_Premultiplied);
    if (offscreen.isNull())
        return false;
    m_PictureSize = QSize(width, height);
    resize(m_PictureSize);
    updateGeometry();
    m_clrBackground = palette().color(QPalette::Button);
    offscreen.fill(palette().color(QPalette::Window));
    {
        const std::lock_guard lock(m_imageLock);
        m_offscreen = std::move(offscreen);
    }
    m_bIsPrepared = true;
    return true;
}

void CPictureEx::RenderStill()
{
    const std::lock_guard lock(m_imageLock);
    QPainter painter(&m_offscreen);
    const QRect whole(QPoint(0, 0), m_PictureSize);
    if (m_single)
        painter.drawImage(whole, *m_single);
    else
        painter.drawImage(whole, m_arrFrames.front().picture);
}

BOOL CPictureEx::DrawFirstFrame()
{
    if (!m_bIsPrepared)
        return FALSE;
    RenderStill();
    update();
    return TRUE;
}

BOOL CPictureEx::Draw()
{
    if (!m_bIsPrepared)
        return FALSE;
    if (m_arrFrames.size() > 1) {
        // A thread told to stop without Stop has ended or is ending.
        bool stopping = false;
        {
            const std::lock_guard lock(m_stopLock);
            stopping = m_bExitThread;
        }
        if (m_thread.joinable() && stopping)
            m_thread.join();
        if (!m_thread.joinable()) {
            {
                const std::lock_guard lock(m_stopLock);
                m_bExitThread = false;
                m_bIsPlaying = true;
            }
            m_thread = std::thread([this] { ThreadMain(); });
        }
        return FALSE;
    }
    RenderStill();
    update();
    return TRUE;
}

void CPictureEx::RequestStop()
{
    {
        const std::lock_guard lock(m_stopLock);
        m_bExitThread = true;
    }
    m_stopEvent.notify_all();
}

void CPictureEx::Stop()
{
    RequestStop();
    if (m_thread.joinable())
        m_thread.join();
    const std::lock_guard lock(m_stopLock);
    m_bExitThread = false;
    m_bIsPlaying = false;
}

void CPictureEx::UnLoad()
{
    Stop();
    m_single.reset();
    m_arrFrames.clear();
    {
        const std::lock_guard lock(m_imageLock);
        m_offscreen = QImage();
        m_savedBackground.reset();
        m_nCurrFrame = 0;
    }
    m_bIsGIF = false;
    m_bIsPrepared = false;
    m_PictureSize = QSize();
    m_clrBackground = Qt::white;
}

bool CPictureEx::IsPlaying() const
{
    const std::lock_guard lock(m_stopLock);
    return m_bIsPlaying;
}

int CPictureEx::FrameIndex() const
{
    const std::lock_guard lock(m_imageLock);
    return m_nCurrFrame;
}

QImage CPictureEx::Snapshot() const
{
    const std::lock_guard lock(m_imageLock);
    return m_offscreen.copy();
}

void CPictureEx::RenderFrame(const TFrame& frame)
{
    const QRect target(frame.left, frame.top, frame.width, frame.height);
    if (frame.disposal == 3)
        m_savedBackground = m_offscreen.copy(target);
    QPainter painter(&m_offscreen);
    // The decoded frame is the whole logical screen with the frame in place.
    if (frame.picture.size() == m_PictureSize)
        painter.drawImage(target, frame.picture, target);
    else
        painter.drawImage(target, frame.picture);
}

void CPictureEx::DisposeFrame(const TFrame& frame)
{
    const QRect target(frame.left, frame.top, frame.width, frame.height);
    if (frame.disposal == 2) {
        QPainter painter(&m_offscreen);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.fillRect(target, m_clrBackground);
    } else if (frame.disposal == 3 && m_savedBackground) {
        QPainter painter(&m_offscreen);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(target.topLeft(), *m_savedBackground);
        m_savedBackground.reset();
    }
}

void CPictureEx::RequestRepaint()
{
    QMetaObject::invokeMethod(
        this, [this] { update(); }, Qt::QueuedConnection);
}

void CPictureEx::ThreadMain()
{
    auto stopped = [this] {
        const std::lock_guard lock(m_stopLock);
        return m_bExitThread;
    };
    {
        // The frame a previous run stopped at still owes its disposal.
        const std::lock_guard lock(m_imageLock);
        DisposeFrame(m_arrFrames[m_nCurrFrame]);
    }
    while (!stopped()) {
        std::uint32_t delay = 0;
        {
            const std::lock_guard lock(m_imageLock);
            const TFrame& frame = m_arrFrames[m_nCurrFrame];
            RenderFrame(frame);
            delay = frame.delay;
        }
        RequestRepaint();

        const std::uint32_t ms = FrameWaitMs(delay);
        if (!(m_waitHook && m_waitHook(ms))) {
            std::unique_lock lock(m_stopLock);
            m_stopEvent.wait_for(lock, std::chrono::milliseconds(ms), [this] { return m_bExitThread; });
        }
        if (stopped())
            break;

        {
            const std::lock_guard lock(m_imageLock);
            DisposeFrame(m_arrFrames[m_nCurrFrame]);
            if (++m_nCurrFrame >= static_cast<int>(m_arrFrames.size())) {
                m_nCurrFrame = 0;
                m_offscreen.fill(m_clrBackground);
            }
        }
    }
    const std::lock_guard lock(m_stopLock);
    m_bIsPlaying = false;
}

void CPictureEx::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const std::lock_guard lock(m_imageLock);
    if (!m_offscreen.isNull())
        painter.drawImage(QPoint(0, 0), m_offscreen);
}
