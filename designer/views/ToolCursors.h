#pragma once
// The cursors of the drawing tools: a crosshair with the tool's mark, drawn
// here rather than loaded, keyed by the tool's cursor number.

#include <QCursor>
#include <QPixmap>

// The cursor numbers the panes use for their tools.
struct ToolCursorId
{
    enum : int {
        Address = 1000,
        Barcode = 1022,
        Conditional = 1055,
        Eraser = 1088,
        ExitParameter = 1089,
        Image = 1176,
        Loop = 1198,
        SpooledFile = 1384,
        StaticText = 1398,
        Variable = 1404,
        XmlAttribute = 1417,
        XmlComment = 1431,
        XmlElement = 1443,
    };
};

// TRUE for a number above.
bool IsToolCursorId(int id);
// The cursor's picture, 32 x 32 with the hot spot at (8, 8); a null pixmap
// for an unknown number.
QPixmap ToolCursorPixmap(int id);
// The cursor; the arrow for an unknown number.
QCursor ToolCursor(int id);
