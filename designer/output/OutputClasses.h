#pragma once
// Registration of the serialisable classes and the string-table texts of
// designer/output. Called at program start, and by tests.

#include "platform/framework/Types.h"

inline constexpr UINT IDS_ADDRESS_ATTACHMENT_NAME = 184; // first of the field names, up to 215
inline constexpr UINT IDS_ADDRESS_PARAMETER1 = 187;      // "Parameter1" to "Parameter20": 187 to 206
inline constexpr UINT IDS_DEFAULT_NAME = 235;
inline constexpr UINT IDS_DEFAULT_OUTPUT_DEVICE = 239;
inline constexpr UINT IDS_DOC = 246;
inline constexpr UINT IDS_MASTER_DEVICE_READ_ERROR = 321;
inline constexpr UINT IDS_MASTER_DEVICE_SAVE_ERROR = 322;
inline constexpr UINT IDS_DEVICE_NAME_ACTIVE = 329;
inline constexpr UINT IDS_DEVICE_INIT_FAILED = 330;
// The rotation list of the display device dialog.
// A list's entries in the texts of a device dialog: under this plus the
// list's control id, apart from the list's label.
inline constexpr UINT kDeviceListItemsBase = 0x8000;

inline constexpr UINT IDS_PORTRAIT = 337;
inline constexpr UINT IDS_LANDSCAPE = 314;
inline constexpr UINT IDS_DOCSTORE_EXIT_PROGRAM = 371;
inline constexpr UINT IDS_DOCSTORE_EXIT_LIBRARY = 372;
inline constexpr UINT IDS_ADDRESS_DESCRIPTION = 373;
inline constexpr UINT IDS_MASTER_DEVICE_FILE_KEPT = 12301;

void RegisterOutputClasses();
void RegisterOutputStrings();
