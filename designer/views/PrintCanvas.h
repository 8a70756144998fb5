#pragma once
// An image that painters take for a printer. The elements draw their printed
// look on a printer (no editing boxes, no selection marks), but a printer
// cannot invert what lies under the no-print band; this device gives both:
// it reports itself as a printer and hands every drawing call on to a
// painter over an image, where inversion works. The image is then printed.

#include <QImage>
#include <QPaintDevice>
#include <QSize>

#include <memory>

class PrintCanvasEngine;

class PrintCanvas : public QPaintDevice
{
public:
    // A white image of the size; null when it cannot be allocated.
    explicit PrintCanvas(QSize size);
    ~PrintCanvas() override;

    PrintCanvas(const PrintCanvas&) = delete;
    PrintCanvas& operator=(const PrintCanvas&) = delete;

    int devType() const override;
    QPaintEngine* paintEngine() const override;

    bool IsNull() const { return m_image.isNull(); }
    // What was drawn; complete once the painter on the canvas has ended.
    const QImage& Image() const { return m_image; }

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    QImage m_image;
    std::unique_ptr<PrintCanvasEngine> m_engine;
};
