#pragma once
// The export side's own strings and the texts of dialog 10101. The ids sit
// above the library's shared strings (10103 to 10127).

#include "platform/framework/Types.h"

// After an export that had to leave out or cut lines: the heading, then one
// line per line "Page: %1!02d!, Line: %2!03d!: %3" with one of the reasons.
constexpr UINT IDS_MERROW_EXPORT_UNCARRIED = 10140;
constexpr UINT IDS_MERROW_EXPORT_UNCARRIED_LINE = 10141;
constexpr UINT IDS_MERROW_EXPORT_LINE_ZERO = 10142;
constexpr UINT IDS_MERROW_EXPORT_BEYOND_LAST_LINE = 10143;
constexpr UINT IDS_MERROW_EXPORT_LINE_CUT = 10144;

// Adds the texts to the string table; harmless again.
void RegisterExportStrings();
