#pragma once
// The string-table texts of the barcode definitions and the master barcode
// file.

#include "platform/framework/Types.h"

inline constexpr UINT IDS_BARCODE_JVX_VERSION = 222;
inline constexpr UINT IDS_BARCODE_MAXIMUM = 224;
inline constexpr UINT IDS_DELETE_MASTER_BARCODE = 244;
inline constexpr UINT IDS_MASTER_BARCODE_READ_ERROR = 317;
inline constexpr UINT IDS_MASTER_BARCODE_SAVE_ERROR = 318;

// Called once at start-up, and by tests.
void RegisterBarcodeStrings();
