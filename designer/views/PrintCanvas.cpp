#include "designer/views/PrintCanvas.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>

// Every call is replayed on a painter over the canvas's image; the state
// (transform, clip, pen, composition...) is copied across as it changes.
class PrintCanvasEngine : public QPaintEngine
{
public:
    explicit PrintCanvasEngine(QImage& image) : QPaintEngine(QPaintEngine::AllFeatures), m_image(image) {}

    bool begin(QPaintDevice* device) override
    {
        Q_UNUSED(device);
        return !m_image.isNull() && m_painter.begin(&m_image);
    }
    bool end() override { return m_painter.isActive() ? m_painter.end() : true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override
    {
        const DirtyFlags flags = state.state();
        // The transform first: a clip is set in the coordinates of the
        // transform that comes with it.
        if (flags & DirtyTransform)
            m_painter.setTransform(state.transform());
        if (flags & DirtyPen)
            m_painter.setPen(state.pen());
        if (flags & DirtyBrush)
            m_painter.setBrush(state.brush());
        if (flags & DirtyBrushOrigin)
            m_painter.setBrushOrigin(state.brushOrigin());
        if (flags & DirtyBackground)
            m_painter.setBackground(state.backgroundBrush());
        if (flags & DirtyBackgroundMode)
            m_painter.setBackgroundMode(state.backgroundMode());
        if (flags & DirtyFont)
            m_painter.setFont(state.font());
        if (flags & DirtyHints)
            m_painter.setRenderHints(state.renderHints());
        if (flags & DirtyCompositionMode)
            m_painter.setCompositionMode(state.compositionMode());
        if (flags & DirtyOpacity)
            m_painter.setOpacity(state.opacity());
        if (flags & DirtyClipRegion)
            m_painter.setClipRegion(state.clipRegion(), state.clipOperation());
        if (flags & DirtyClipPath)
            m_painter.setClipPath(state.clipPath(), state.clipOperation());
        if (flags & DirtyClipEnabled)
            m_painter.setClipping(state.isClipEnabled());
    }

    void drawRects(const QRect* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            m_painter.drawRect(rects[i]);
    }
    void drawRects(const QRectF* rects, int count) override
    {
        for (int i = 0; i < count; ++i)
            m_painter.drawRect(rects[i]);
    }
    void drawLines(const QLine* lines, int count) override { m_painter.drawLines(lines, count); }
    void drawLines(const QLineF* lines, int count) override { m_painter.drawLines(lines, count); }
    void drawEllipse(const QRectF& rect) override { m_painter.drawEllipse(rect); }
    void drawEllipse(const QRect& rect) override { m_painter.drawEllipse(rect); }
    void drawPath(const QPainterPath& path) override { m_painter.drawPath(path); }
    void drawPoints(const QPointF* points, int count) override { m_painter.drawPoints(points, count); }
    void drawPoints(const QPoint* points, int count) override { m_painter.drawPoints(points, count); }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override
    {
        switch (mode) {
        case PolylineMode:
            m_painter.drawPolyline(points, count);
            break;
        case ConvexMode:
            m_painter.drawConvexPolygon(points, count);
            break;
        case WindingMode:
            m_painter.drawPolygon(points, count, Qt::WindingFill);
            break;
        default:
            m_painter.drawPolygon(points, count, Qt::OddEvenFill);
            break;
        }
    }
    void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override
    {
        QPolygonF polygon;
        polygon.reserve(count);
        for (int i = 0; i < count; ++i)
            polygon.append(QPointF(points[i]));
        drawPolygon(polygon.constData(), count, mode);
    }
    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF& source) override
    {
        m_painter.drawPixmap(r, pixmap, source);
    }
    void drawTiledPixmap(const QRectF& r, const QPixmap& pixmap, const QPointF& offset) override
    {
        m_painter.drawTiledPixmap(r, pixmap, offset);
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF& source, Qt::ImageConversionFlags flags) override
    {
        m_painter.drawImage(r, image, source, flags);
    }
    void drawTextItem(const QPointF& point, const QTextItem& item) override
    {
        m_painter.save();
        m_painter.setFont(item.font());
        m_painter.drawText(point, item.text());
        m_painter.restore();
    }

private:
    QImage& m_image;
    QPainter m_painter;
};

PrintCanvas::PrintCanvas(QSize size)
{
    if (size.width() > 0 && size.height() > 0) {
        m_image = QImage(size, QImage::Format_RGB32);
        if (!m_image.isNull())
            m_image.fill(Qt::white);
    }
    m_engine = std::make_unique<PrintCanvasEngine>(m_image);
}

PrintCanvas::~PrintCanvas() = default;

int PrintCanvas::devType() const
{
    return QInternal::Printer;
}

QPaintEngine* PrintCanvas::paintEngine() const
{
    return m_engine.get();
}

int PrintCanvas::metric(PaintDeviceMetric metric) const
{
    switch (metric) {
    case PdmWidth:
        return m_image.width();
    case PdmHeight:
        return m_image.height();
    case PdmWidthMM:
        return m_image.widthMM();
    case PdmHeightMM:
        return m_image.heightMM();
    case PdmNumColors:
        return m_image.colorCount();
    case PdmDepth:
        return m_image.depth();
    case PdmDpiX:
        return m_image.logicalDpiX();
    case PdmDpiY:
        return m_image.logicalDpiY();
    case PdmPhysicalDpiX:
        return m_image.physicalDpiX();
    case PdmPhysicalDpiY:
        return m_image.physicalDpiY();
    case PdmDevicePixelRatio:
        return 1;
    case PdmDevicePixelRatioScaled:
        return static_cast<int>(devicePixelRatioFScale());
    default:
        return QPaintDevice::metric(metric);
    }
}
