#pragma once
// The application looks of the View menu as Qt styles and palettes, and the
// toolbar pictures each look uses.

#include "platform/framework/Types.h"

#include <QPalette>
#include <QString>

struct LookChoice
{
    UINT look = 0;     // the command id (an unknown stored value stays)
    QString styleName; // a Qt style that Qt always has
    BOOL highColourIcons = TRUE;
    BOOL smartDocking = TRUE;
    UINT toolsBitmap = 0;    // 384 high colour, 366 otherwise
    UINT standardBitmap = 0; // 408 high colour, 128 otherwise
};

inline constexpr UINT DEFAULT_APPLICATION_LOOK = 33319;

// What the look means on a screen of the given depth in bits per pixel.
LookChoice ChooseLook(UINT look, int screenDepth);

// The colours of the look.
QPalette LookPalette(UINT look);
