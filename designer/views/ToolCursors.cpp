#include "designer/views/ToolCursors.h"

#include <QFont>
#include <QPainter>

#include <iterator>

namespace {

struct CursorMark
{
    int id;
    const char* mark;
};

constexpr CursorMark kMarks[] = {
    {ToolCursorId::Address, "A"},     {ToolCursorId::Barcode, "B"},       {ToolCursorId::Conditional, "C"},
    {ToolCursorId::Eraser, "E"},      {ToolCursorId::ExitParameter, "P"}, {ToolCursorId::Image, "I"},
    {ToolCursorId::Loop, "L"},        {ToolCursorId::SpooledFile, "S"},   {ToolCursorId::StaticText, "T"},
    {ToolCursorId::Variable, "V"},    {ToolCursorId::XmlAttribute, "@"},  {ToolCursorId::XmlComment, "!"},
    {ToolCursorId::XmlElement, "<>"},
};

const CursorMark* FindMark(int id)
{
    for (const CursorMark& m : kMarks)
        if (m.id == id)
            return &m;
    return nullptr;
}

constexpr int kHotSpot = 8;

} // namespace

bool IsToolCursorId(int id)
{
    return FindMark(id) != nullptr;
}

QPixmap ToolCursorPixmap(int id)
{
    const CursorMark* mark = FindMark(id);
    if (mark == nullptr)
        return QPixmap();
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    // A white halo under black lines keeps the cursor visible on any page.
    for (const auto& [colour, width] : {std::pair{Qt::white, 3}, std::pair{Qt::black, 1}}) {
        p.setPen(QPen(colour, width));
        p.drawLine(kHotSpot, 1, kHotSpot, 2 * kHotSpot - 1);
        p.drawLine(1, kHotSpot, 2 * kHotSpot - 1, kHotSpot);
    }
    QFont font = p.font();
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    const QRect box(kHotSpot + 3, kHotSpot + 3, 32 - kHotSpot - 3, 32 - kHotSpot - 3);
    p.fillRect(box.adjusted(0, 0, -2, -4), Qt::white);
    p.setPen(Qt::black);
    p.drawRect(box.adjusted(0, 0, -3, -5));
    p.drawText(box.adjusted(0, 0, -2, -4), Qt::AlignCenter, QString::fromLatin1(mark->mark));
    return pixmap;
}

QCursor ToolCursor(int id)
{
    const QPixmap pixmap = ToolCursorPixmap(id);
    if (pixmap.isNull())
        return QCursor(Qt::ArrowCursor);
    return QCursor(pixmap, kHotSpot, kHotSpot);
}
