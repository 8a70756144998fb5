#pragma once
// Colours as the designer stores and draws them: red in the low byte, then
// green, then blue, the top byte 0.

#include "platform/framework/Types.h"

#include <QColor>

namespace kwvd {

constexpr COLORREF ColourRef(BYTE red, BYTE green, BYTE blue)
{
    return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) | (static_cast<COLORREF>(blue) << 16);
}

constexpr BYTE RedOf(COLORREF colour)
{
    return static_cast<BYTE>(colour & 0xFFu);
}
constexpr BYTE GreenOf(COLORREF colour)
{
    return static_cast<BYTE>((colour >> 8) & 0xFFu);
}
constexpr BYTE BlueOf(COLORREF colour)
{
    return static_cast<BYTE>((colour >> 16) & 0xFFu);
}

inline constexpr COLORREF kWhite = ColourRef(255, 255, 255);

// The colour to draw with.
inline QColor ToQColor(COLORREF colour)
{
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

} // namespace kwvd
