#include "designer/elements/TextFit.h"

#include "designer/document/Page.h"
#include "designer/document/jvx/APRTPDMRec.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/FontManager.h"
#include "platform/framework/ScreenResolution.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

int RecordFontIndex(const CAPRTPDMRec& record, const CFontManager* manager)
{
    const QString& field = record.m_fontIndex.GetValue();
    if (field.isEmpty())
        return 0;
    const int index = field.at(0).unicode() - u'0';
    const int slotCount = manager != nullptr ? manager->GetMaxFonts() : CFontManager::kMaxFonts;
    return index >= 0 && index < slotCount ? index : 0;
}

void WriteRecordFontIndex(CAPRTPDMRec& record, int fontIndex)
{
    if (fontIndex != 0)
        record.m_fontIndex.SetValue(QString(QChar(u'0' + fontIndex)));
    else
        record.m_fontIndex.Clear();
}

int ReleaseUnusableFont(CFontManager* manager, int fontIndex, CFormElement* element)
{
    if (manager == nullptr || manager->IsUsableFontIndex(fontIndex))
        return fontIndex;
    if (fontIndex > 0 && fontIndex < manager->GetMaxFonts())
        manager->GetFontList().RemoveUser(element, fontIndex);
    return 0;
}

namespace {

int DotsPerMetre(int dotsPerInch)
{
    return static_cast<int>(std::lround(dotsPerInch / 0.0254));
}

} // namespace

QImage MeasuringImage()
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.setDotsPerMeterX(DotsPerMetre(kwvd::ScreenResolution::LogPixelsX()));
    image.setDotsPerMeterY(DotsPerMetre(kwvd::ScreenResolution::LogPixelsY()));
    return image;
}

QSize MeasureFontText(CFontManager* manager, int fontIndex, const QString& text)
{
    QSize size(0, 0);
    if (manager == nullptr)
        return size;
    CAS400Font* font = manager->GetFont(fontIndex);
    if (font == nullptr)
        return size;
    const QImage device = MeasuringImage();
    font->GetTextExtent(manager->GetDisplayCharSet(), size, &device, text);
    // A fixed-pitch line is drawn with the advance table, so it measures
    // what the table adds up to.
    const int count = static_cast<int>(text.size());
    if (count > 0 && font->GetCharWidths(count)) {
        const std::span<const int> advances = font->GetCharWidthTable();
        if (!advances.empty()) {
            long long width = 0;
            for (int i = 0; i < count; ++i)
                width += advances[std::min(static_cast<size_t>(i), advances.size() - 1)];
            size.setWidth(static_cast<int>(std::min<long long>(width, 0x7FFFFFFF)));
        }
    }
    return QSize(std::max(size.width(), 0), std::max(size.height(), 0));
}

TextBoxFit FitTextBox(const CPage& page, const kwvd::Rect& dest, int heightAdjust, int columns, int lines, QSize extent)
{
    const int cw = page.GetCellWidth();
    const int ch = page.GetCellHeight();
    kwvd::Rect cells = dest;
    page.RectToCells(cells);
    const int left = cells.left;
    const int shownLine = cells.top + heightAdjust;
    const int right = left + columns;
    const int bottom = shownLine + lines;

    kwvd::Rect box(0, 0, extent.width(), extent.height());
    page.SnapToGrid(box);
    const int extentColumns = cw > 0 ? box.Width() / cw : 1;
    const int extentLines = ch > 0 ? box.Height() / ch : 1;

    TextBoxFit fit;
    fit.widthAdjust = std::max(extentColumns - columns, 0);
    fit.heightAdjust = std::max(extentLines - 1, 0);
    fit.dest = kwvd::Rect((left - 1) * cw, (shownLine - fit.heightAdjust - 1) * ch, (right + fit.widthAdjust - 1) * cw,
                          (bottom - 1) * ch);
    return fit;
}

bool IsVisibleIn(const QPainter& painter, const kwvd::Rect& rect)
{
    if (rect.IsEmpty())
        return false;
    if (!painter.hasClipping())
        return true;
    return painter.clipBoundingRect().intersects(QRectF(rect.ToQRect()));
}

bool IsPrinting(const QPainter& painter)
{
    const QPaintDevice* device = painter.device();
    return device != nullptr && device->devType() == QInternal::Printer;
}

void DrawTextLine(QPainter& painter, const QFont* font, int x, int y, const QString& text,
                  std::span<const int> advances)
{
    if (text.isEmpty() || qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return;
    if (font != nullptr)
        painter.setFont(*font);
    const QFontMetrics metrics(painter.font(), painter.device());
    const int baseline = y - metrics.descent();
    if (advances.empty()) {
        painter.drawText(QPoint(x, baseline), text);
        return;
    }
    int pen = x;
    for (qsizetype i = 0; i < text.size(); ++i) {
        painter.drawText(QPoint(pen, baseline), QString(text.at(i)));
        // A table shorter than the line leaves the rest at the last advance.
        const size_t at = std::min(static_cast<size_t>(i), advances.size() - 1);
        pen += advances[at];
    }
}
