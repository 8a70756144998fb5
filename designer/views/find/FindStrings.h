#pragma once
// The texts of the find dialog and its question at the end of the elements,
// in the string table under their resource ids: the dialog's caption at
// DialogTextId(122, 0), each label and button at DialogTextId(122, control).
// Harmless to call again.

#include "platform/framework/Types.h"

// "The search has reached the end of the Elements. ..." (Yes starts again).
inline constexpr UINT IDS_FIND_REACHED_END = 286;

void RegisterFindStrings();
