#include "designer/views/explorer/ExplorerIcons.h"

#include "designer/commands/CommandIds.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace {

// The sixteen colours of a 4-bit display: the low-colour sets use no other.
const QList<QRgb>& FourBitPalette()
{
    static const QList<QRgb> palette = {
        qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255),
    };
    return palette;
}

// Back to sixteen colours, white standing for transparent as the bitmaps
// have it.
QPixmap ToFourBit(const QImage& art)
{
    QImage opaque(art.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    {
        QPainter p(&opaque);
        p.drawImage(0, 0, art);
    }
    QImage indexed = opaque.convertToFormat(QImage::Format_Indexed8, FourBitPalette(), Qt::ThresholdDither);
    QImage out = indexed.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y)
        for (int x = 0; x < out.width(); ++x)
            if (out.pixel(x, y) == qRgb(255, 255, 255))
                out.setPixel(x, y, qRgba(0, 0, 0, 0));
    return QPixmap::fromImage(out);
}

QImage Canvas()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

void Folder(QPainter& p, bool open)
{
    p.setPen(QColor(128, 96, 0));
    p.setBrush(QColor(240, 200, 80));
    p.drawRect(1, 3, 6, 2);
    p.drawRect(1, 4, 13, 9);
    if (open) {
        p.setBrush(QColor(255, 230, 140));
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
    }
}

// A rounded badge in the kind's colour with a short text on it.
void Badge(QPainter& p, const QColor& colour, const QString& text)
{
    p.setPen(colour.darker(150));
    p.setBrush(colour);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    QFont font = p.font();
    font.setPixelSize(text.size() > 1 ? 8 : 11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, text);
}

void Page(QPainter& p, const QColor& lines)
{
    p.setPen(QColor(64, 64, 64));
    p.setBrush(Qt::white);
    p.drawRect(2, 1, 11, 14);
    p.setPen(lines);
    for (int y = 4; y <= 12; y += 2)
        p.drawLine(4, y, 11, y);
}

QImage DrawElementImage(int index)
{
    QImage image = Canvas();
    QPainter p(&image);
    switch (index) {
    case 0:
        Folder(p, false);
        break;
    case 1:
        Folder(p, true);
        break;
    case 2: { // Loop: a circling arrow
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(0, 0, 200), 2));
        p.drawArc(QRectF(2.5, 2.5, 11, 11), 60 * 16, 280 * 16);
        p.setBrush(QColor(0, 0, 200));
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygon({QPoint(9, 0), QPoint(14, 3), QPoint(9, 6)}));
        break;
    }
    case 3: // Conditional: a decision diamond
        p.setPen(QColor(128, 0, 0));
        p.setBrush(QColor(230, 60, 60));
        p.drawPolygon(QPolygon({QPoint(8, 0), QPoint(15, 8), QPoint(8, 15), QPoint(1, 8)}));
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QStringLiteral("?"));
        break;
    case 4: // Source: a page of the spooled file
        Page(p, QColor(0, 128, 0));
        break;
    case 5: // Image: a small landscape
        p.setPen(QColor(64, 64, 64));
        p.setBrush(QColor(160, 210, 255));
        p.drawRect(0, 2, 15, 12);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 150, 0));
        p.drawPolygon(QPolygon({QPoint(1, 14), QPoint(6, 7), QPoint(10, 11), QPoint(12, 9), QPoint(15, 14)}));
        p.setBrush(QColor(255, 220, 0));
        p.drawEllipse(10, 4, 3, 3);
        break;
    case 6:
        Badge(p, QColor(0, 128, 0), QStringLiteral("A"));
        break;
    case 7: // Output device: a printer
        p.setPen(QColor(64, 64, 64));
        p.setBrush(Qt::white);
        p.drawRect(4, 1, 8, 5);
        p.setBrush(QColor(150, 150, 150));
        p.drawRect(1, 6, 14, 6);
        p.setBrush(Qt::white);
        p.drawRect(4, 10, 8, 5);
        break;
    case 8: // Exit program: a box with an arrow out
        p.setPen(QColor(64, 0, 64));
        p.setBrush(QColor(180, 100, 200));
        p.drawRect(1, 3, 9, 10);
        p.setPen(QPen(QColor(64, 0, 64), 2));
        p.drawLine(7, 8, 14, 8);
        p.drawLine(11, 5, 14, 8);
        p.drawLine(11, 11, 14, 8);
        break;
    case 9:
        Badge(p, QColor(150, 60, 170), QStringLiteral("P"));
        break;
    case 10:
        Badge(p, QColor(0, 128, 128), QStringLiteral("x"));
        break;
    case 11: // Address: an envelope
        p.setPen(QColor(64, 64, 64));
        p.setBrush(QColor(255, 250, 220));
        p.drawRect(0, 3, 15, 10);
        p.drawLine(0, 3, 8, 9);
        p.drawLine(15, 3, 8, 9);
        break;
    case 12: // Remark: a yellow note
        p.setPen(QColor(128, 128, 0));
        p.setBrush(QColor(255, 255, 128));
        p.drawRect(1, 1, 13, 13);
        p.drawLine(3, 5, 12, 5);
        p.drawLine(3, 8, 12, 8);
        p.drawLine(3, 11, 9, 11);
        break;
    case 13: // Eraser
        p.setPen(QColor(64, 64, 64));
        p.setBrush(QColor(255, 160, 180));
        p.drawPolygon(QPolygon({QPoint(1, 11), QPoint(9, 3), QPoint(15, 8), QPoint(7, 15)}));
        p.setBrush(QColor(80, 80, 200));
        p.drawPolygon(QPolygon({QPoint(1, 11), QPoint(5, 7), QPoint(10, 12), QPoint(7, 15)}));
        break;
    case 14: // Barcode: bars
        p.setPen(Qt::NoPen);
        p.setBrush(Qt::white);
        p.drawRect(0, 1, 16, 14);
        p.setBrush(Qt::black);
        for (int x : {1, 3, 4, 7, 9, 10, 12, 14})
            p.drawRect(x, 2, x % 3 == 0 ? 2 : 1, 12);
        break;
    case 15:
        Badge(p, QColor(200, 100, 0), QStringLiteral("<>"));
        break;
    case 16:
        Badge(p, QColor(200, 100, 0), QStringLiteral("="));
        break;
    case 17:
        Badge(p, QColor(200, 100, 0), QStringLiteral("<?"));
        break;
    case 18:
        Badge(p, QColor(128, 128, 128), QStringLiteral("<!"));
        break;
    case 19: // Resource: a stack of pages
        p.setPen(QColor(64, 64, 64));
        p.setBrush(QColor(220, 220, 255));
        p.drawRect(4, 0, 10, 11);
        p.setBrush(Qt::white);
        p.drawRect(1, 4, 10, 11);
        break;
    default:
        break;
    }
    return image;
}

// Plus and minus marks on a branch glyph for the expand and collapse
// buttons; arrows for the moves.
QImage DrawToolBarImage(UINT command)
{
    QImage image = Canvas();
    QPainter p(&image);
    auto box = [&](int x, int y, bool plus) {
        p.setPen(QColor(64, 64, 64));
        p.setBrush(Qt::white);
        p.drawRect(x, y, 8, 8);
        p.setPen(Qt::black);
        p.drawLine(x + 2, y + 4, x + 6, y + 4);
        if (plus)
            p.drawLine(x + 4, y + 2, x + 4, y + 6);
    };
    auto branch = [&]() {
        p.setPen(QPen(QColor(128, 128, 128), 1, Qt::DotLine));
        p.drawLine(4, 9, 4, 14);
        p.drawLine(4, 14, 14, 14);
    };
    auto arrow = [&](bool up) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 100, 0));
        if (up)
            p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(15, 8), QPoint(11, 8), QPoint(11, 15), QPoint(5, 15),
                                    QPoint(5, 8), QPoint(1, 8)}));
        else
            p.drawPolygon(QPolygon({QPoint(8, 15), QPoint(15, 8), QPoint(11, 8), QPoint(11, 1), QPoint(5, 1),
                                    QPoint(5, 8), QPoint(1, 8)}));
    };
    switch (command) {
    case ID_EXPLORER_EXPAND_BRANCH:
        branch();
        box(0, 0, true);
        break;
    case ID_EXPLORER_EXPAND_ALL:
        box(0, 0, true);
        box(7, 7, true);
        break;
    case ID_EXPLORER_COLLAPSE_BRANCH:
        branch();
        box(0, 0, false);
        break;
    case ID_EXPLORER_COLLAPSE_ALL:
        box(0, 0, false);
        box(7, 7, false);
        break;
    case ID_EDIT_MOVE_UP:
        arrow(true);
        break;
    case ID_EDIT_MOVE_DOWN:
        arrow(false);
        break;
    case ID_EXPLORER_VIEW_PROPERTIES:
        p.setPen(QColor(64, 64, 64));
        p.setBrush(QColor(240, 240, 240));
        p.drawRect(1, 1, 13, 13);
        p.setBrush(QColor(0, 0, 160));
        p.drawRect(1, 1, 13, 3);
        p.setPen(Qt::black);
        for (int y = 7; y <= 12; y += 3) {
            p.drawLine(3, y, 6, y);
            p.drawLine(8, y, 12, y);
        }
        break;
    default:
        break;
    }
    return image;
}

} // namespace

int GetElementIcon(int type, bool expanded)
{
    for (const ExplorerIconEntry& entry : ExplorerIconTable)
        if (entry.type == type)
            return entry.image;
    return expanded ? 1 : 0;
}

QPixmap ExplorerImage(UINT bitmapId, int index)
{
    if (index < 0 || index >= kExplorerImageCount)
        return QPixmap();
    const QImage art = DrawElementImage(index);
    return bitmapId == IDB_EXPLORER_IMAGES_HC ? QPixmap::fromImage(art) : ToFourBit(art);
}

std::vector<QIcon> LoadExplorerImageList(UINT bitmapId)
{
    std::vector<QIcon> images;
    images.reserve(kExplorerImageCount);
    for (int i = 0; i < kExplorerImageCount; ++i)
        images.emplace_back(ExplorerImage(bitmapId, i));
    return images;
}

std::vector<UINT> ExplorerToolBarButtons()
{
    return {
        ID_EXPLORER_EXPAND_BRANCH, ID_EXPLORER_EXPAND_ALL, 0, ID_EXPLORER_COLLAPSE_BRANCH, ID_EXPLORER_COLLAPSE_ALL, 0,
        ID_EDIT_MOVE_UP,           ID_EDIT_MOVE_DOWN,      0, ID_EXPLORER_VIEW_PROPERTIES};
}

QIcon ExplorerToolBarImage(UINT toolBarId, UINT command)
{
    const QImage art = DrawToolBarImage(command);
    return QIcon(toolBarId == IDR_EXPLORER_TOOLBAR_HC ? QPixmap::fromImage(art) : ToFourBit(art));
}
