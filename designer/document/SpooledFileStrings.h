#pragma once
// The string-table texts the spooled file shows.

#include "platform/framework/Types.h"

inline constexpr UINT IDS_SPOOLED_FILE_INVALID_FORMAT = 12201;
inline constexpr UINT IDS_SPOOLED_FILE_NOT_FOUND = 12202;
inline constexpr UINT IDS_SPOOLED_FILE_SUBSTITUTE = 12203;
inline constexpr UINT IDS_SPOOLED_FILE_OPEN_TITLE = 12204;
inline constexpr UINT IDS_SPOOLED_FILE_PASTE_TITLE = 12205;
inline constexpr UINT IDS_SPOOLED_FILE_PASTE_QUESTION = 12206;
inline constexpr UINT IDS_SPOOLED_FILE_PASTE_REPLACE = 12207;
inline constexpr UINT IDS_SPOOLED_FILE_PASTE_ADD = 12208;
inline constexpr UINT IDS_SPOOLED_FILE_APPEND_QUESTION = 216;
inline constexpr UINT IDS_SPOOLED_FILE_CODE_PAGE_QUESTION = 229;
inline constexpr UINT IDS_SERVER_CONTACT_FAILED = 278;

// Called once at start-up, and by tests.
void RegisterSpooledFileStrings();
