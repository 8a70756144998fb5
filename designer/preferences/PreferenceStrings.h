#pragma once
// The string-table texts that go with the preferences: the default names of
// the master files kept in ApplicationDataDirectory, and the name of the
// no-print border's colour row.

#include "platform/framework/Types.h"

inline constexpr UINT IDS_MASTER_BARCODE_FILE = 236;
inline constexpr UINT IDS_MASTER_FONT_FILE = 237;
inline constexpr UINT IDS_MASTER_OUTPUT_DEVICE_FILE = 240;
inline constexpr UINT IDS_OUTPUT_DEVICE_OFFSETS_FILE = 241;
inline constexpr UINT IDS_NO_PRINT_BORDER = 326;

// Called once at start-up, and by tests.
void RegisterPreferenceStrings();
