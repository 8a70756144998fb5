#include "designer/shell/ProgramVersion.h"

#include "designer/shell/AppStrings.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/StringTable.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>

ProductVersion GetProductVersion()
{
    return ProductVersion{6, 27, 59, 28};
}

QString GetVersionText(const std::optional<ProductVersion>& version)
{
    if (!version)
        return LoadResString(AppString::DefaultVersion);
    return FormatResMessage(AppString::VersionFormat, int(version->major), int(version->minor));
}

QString GetVersionText()
{
    return GetVersionText(GetProductVersion());
}

QPixmap DrawBrandBitmap()
{
    QPixmap pixmap(420, 240);
    QPainter painter(&pixmap);
    QLinearGradient sky(0, 0, 0, pixmap.height());
    sky.setColorAt(0.0, QColor(24, 64, 128));
    sky.setColorAt(0.55, QColor(86, 140, 206));
    sky.setColorAt(1.0, Qt::white);
    painter.fillRect(pixmap.rect(), sky);

    // A sheet of form paper with a few printed lines, half over a grid.
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF sheet(28, 34, 96, 124);
    painter.setPen(QPen(QColor(40, 40, 40), 1));
    painter.setBrush(QColor(252, 252, 244));
    painter.drawRect(sheet);
    painter.setPen(QPen(QColor(150, 170, 200), 1));
    for (int y = 0; y < 9; ++y)
        painter.drawLine(QPointF(sheet.left() + 10, sheet.top() + 16 + y * 12),
                         QPointF(sheet.right() - (y % 3 == 2 ? 38 : 10), sheet.top() + 16 + y * 12));
    painter.setPen(QPen(QColor(200, 60, 40), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(sheet.left() + 6, sheet.top() + 34, 60, 28));

    QFont title(QStringLiteral("Sans Serif"), 20, QFont::Bold);
    painter.setFont(title);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(140, 36, 270, 90), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                     LoadResString(AppString::AppTitle));
    return pixmap;
}
