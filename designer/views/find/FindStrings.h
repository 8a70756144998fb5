#pragma once
// The texts of the find dialog and its question at the end of the elements,
// in the string table under their resource ids. Harmless to call again.

#include "platform/framework/Types.h"

// "The search has reached the end of the Elements. ..." (Yes starts again).
inline constexpr UINT IDS_FIND_REACHED_END = 286;

void RegisterFindStrings();
