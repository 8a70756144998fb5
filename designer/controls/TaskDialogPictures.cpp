#include "designer/controls/TaskDialogPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

// Every picture is drawn on a 32-unit square and scaled to its size.
void DrawArrow(QPainter& painter, const QColor& fill)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(fill);
    painter.drawEllipse(QRectF(1, 1, 30, 30));
    painter.setBrush(Qt::white);
    const QPolygonF arrow{{8, 13}, {17, 13}, {17, 7}, {26, 16}, {17, 25}, {17, 19}, {8, 19}};
    painter.drawPolygon(arrow);
}

void DrawShield(QPainter& painter)
{
    QPainterPath outline;
    outline.moveTo(16, 1);
    outline.lineTo(29, 5);
    outline.cubicTo(29, 18, 24, 26, 16, 31);
    outline.cubicTo(8, 26, 3, 18, 3, 5);
    outline.closeSubpath();
    painter.setPen(Qt::NoPen);
    painter.setClipPath(outline);
    painter.fillRect(QRectF(0, 0, 16, 16), QColor(0x1F, 0x5F, 0xC8));
    painter.fillRect(QRectF(16, 16, 16, 16), QColor(0x1F, 0x5F, 0xC8));
    painter.fillRect(QRectF(16, 0, 16, 16), QColor(0xF2, 0xC0, 0x1E));
    painter.fillRect(QRectF(0, 16, 16, 16), QColor(0xF2, 0xC0, 0x1E));
    painter.setClipping(false);
}

void DrawError(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xC8, 0x1E, 0x1E));
    painter.drawEllipse(QRectF(1, 1, 30, 30));
    painter.setPen(QPen(Qt::white, 4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(10, 10), QPointF(22, 22));
    painter.drawLine(QPointF(22, 10), QPointF(10, 22));
}

void DrawWarning(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0xF5, 0xC2, 0x11));
    painter.drawPolygon(QPolygonF{{16, 1}, {31, 29}, {1, 29}});
    painter.setBrush(Qt::black);
    painter.drawRect(QRectF(14.5, 10, 3, 11));
    painter.drawEllipse(QRectF(14.5, 23, 3, 3));
}

void DrawInformation(QPainter& painter)
{
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x1E, 0x64, 0xD2));
    painter.drawEllipse(QRectF(1, 1, 30, 30));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(14, 6, 4, 4));
    painter.drawRect(QRectF(14, 12, 4, 13));
}

} // namespace

QPixmap TaskDialogStockPicture(UINT id, int size)
{
    const bool arrow = id == IDI_TASK_ARROW || id == IDI_TASK_HOT_ARROW;
    if (id < IDI_TASK_ARROW || id > IDI_TASK_INFORMATION || (size != 16 && size != 32) || (arrow && size != 16))
        return {};
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    switch (id) {
    case IDI_TASK_ARROW:
        DrawArrow(painter, QColor(0x2E, 0x8B, 0x3C));
        break;
    case IDI_TASK_HOT_ARROW:
        DrawArrow(painter, QColor(0x3C, 0xC8, 0x50));
        break;
    case IDI_TASK_SHIELD:
        DrawShield(painter);
        break;
    case IDI_TASK_ERROR:
        DrawError(painter);
        break;
    case IDI_TASK_WARNING:
        DrawWarning(painter);
        break;
    default:
        DrawInformation(painter);
        break;
    }
    return picture;
}
