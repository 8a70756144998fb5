#pragma once
// The string ids of the dialogs' captions and labels, so that a language
// source can translate every dialog: the caption of dialog d is at
// DialogTextId(d, 0), the label of its control c at DialogTextId(d, c).
// The range lies above every other id of the string table.

#include "platform/framework/Types.h"

inline constexpr UINT DIALOG_TEXT_FIRST = 0x10000000u;

// Dialog ids below 0xF000 (the id stays within 32 bits) and control ids
// below 0x10000.
constexpr UINT DialogTextId(UINT dialog, UINT control)
{
    return DIALOG_TEXT_FIRST + (dialog << 16) + control;
}
