#pragma once
// The string-table texts of the host fonts, the page's font list and the
// master font file.

#include "platform/framework/Types.h"

inline constexpr UINT IDS_FONT_DELETE_DEFAULT = 226;
inline constexpr UINT IDS_FONT_DELETE_IN_USE = 227;
inline constexpr UINT IDS_FONT_DEFAULT_LIBRARY = 238; // "QFNTCPL"
inline constexpr UINT IDS_FONT_DOCUMENT_GROUP = 246;  // "*DOC"
inline constexpr UINT IDS_FILE_READ_ERROR = 283;      // "Error reading file: %1."
inline constexpr UINT IDS_FILE_SAVE_ERROR = 285;      // "Error saving file: %1."
inline constexpr UINT IDS_FONT_MAXIMUM = 292;
inline constexpr UINT IDS_FONT_NOT_FOUND_ADD = 298;
inline constexpr UINT IDS_FONT_SUBSTITUTED = 299;
inline constexpr UINT IDS_MASTER_FONT_READ_ERROR = 319;
inline constexpr UINT IDS_MASTER_FONT_SAVE_ERROR = 320;
inline constexpr UINT IDS_MASTER_FONT_FILE_KEPT = 12302;

// The font dialogs.
inline constexpr UINT IDS_FONT_ADD_TITLE = 183;
inline constexpr UINT IDS_FONT_EDIT_TITLE = 248;
inline constexpr UINT IDS_FONT_CHARACTER_ID_RANGE = 287;
inline constexpr UINT IDS_FONT_CODE_PAGE_ID_RANGE = 288;
inline constexpr UINT IDS_FONT_FGID_RANGE = 289;
inline constexpr UINT IDS_FONT_HEIGHT_RANGE = 290;
inline constexpr UINT IDS_FONT_WIDTH_RANGE = 291;
inline constexpr UINT IDS_FONT_CODE_PAGE_NEEDED = 293;
inline constexpr UINT IDS_FONT_FAMILY_NEEDED = 294;
inline constexpr UINT IDS_FONT_GROUP_OR_CHARSET_NEEDED = 295;
inline constexpr UINT IDS_FONT_LIBRARY_NEEDED = 296;
inline constexpr UINT IDS_FONT_SECONDARY_TITLE = 346;
inline constexpr UINT IDS_FONT_REMOVE_QUESTION = 353;

// Called once at start-up, and by tests.
void RegisterFontStrings();
