#pragma once
// The import side's own strings: the texts of the select dialog (10102) and
// the messages the import adds to the library's table.

#include "platform/framework/Types.h"

// An import whose page range lies beyond the spooled file: the pages it has,
// the first page asked for.
constexpr UINT IDS_MERROW_NO_PAGE_IN_RANGE = 10130;
// A raw save that could not be completed: the file.
constexpr UINT IDS_MERROW_RAW_SAVE_FAILED = 10131;

// Adds the caption and labels of the select dialog and the messages above to
// the string table; called before the dialog or the import needs them.
void RegisterImportStrings();
