#pragma once
// The host access library's own strings (10103 to 10127). The library adds
// them to the process's string table when it is loaded; the designer's ids
// keep clear of this range.

#include "platform/framework/Types.h"

constexpr UINT IDS_MERROW_OPEN_FILE_FAILED = 10103; // "Failed to open file"
// Captions of the spooled-file list's columns.
constexpr UINT IDS_MERROW_COLUMN_FILE = 10104;
constexpr UINT IDS_MERROW_COLUMN_USER = 10105;
constexpr UINT IDS_MERROW_COLUMN_USER_DATA = 10106;
constexpr UINT IDS_MERROW_COLUMN_PAGES = 10107;
constexpr UINT IDS_MERROW_COLUMN_DATE = 10108;
constexpr UINT IDS_MERROW_COLUMN_TIME = 10109;
// Heading of the conversion warnings after an import, then one line per
// warning: page, line, the host's text.
constexpr UINT IDS_MERROW_LOADED_WITH_WARNINGS = 10110;
constexpr UINT IDS_MERROW_WARNING_LINE = 10111;
// The file filter of raw spooled-file data, in the prompt service's form.
constexpr UINT IDS_MERROW_RAW_SPOOLED_FILE_FILTER = 10112;
constexpr UINT IDS_MERROW_SELECT_SPOOLED_FILE = 10113; // caption of the list dialog
constexpr UINT IDS_MERROW_EXPORT_SPOOLED_FILE = 10114; // caption of the export dialog
// A command text that would not fit the host's command buffer.
constexpr UINT IDS_MERROW_COMMAND_TOO_LONG = 10115;
constexpr UINT IDS_MERROW_INVALID_FORMAT_SAVE = 10116;
constexpr UINT IDS_MERROW_NOT_SCS_OR_USERASCII = 10117;
constexpr UINT IDS_MERROW_NO_SPOOLED_FILES = 10118;
constexpr UINT IDS_MERROW_CONVERSION_WARNING_SKIP = 10119;
constexpr UINT IDS_MERROW_EXPORT_RETRY = 10120;
constexpr UINT IDS_MERROW_READ_FAILED = 10121;
// What the entry points say when something unexpected ends them.
constexpr UINT IDS_MERROW_REMOTE_PROGRAM_FAILED = 10122;
constexpr UINT IDS_MERROW_SELECT_FAILED = 10123;
constexpr UINT IDS_MERROW_TRANSLATOR_FAILED = 10124;
constexpr UINT IDS_MERROW_IMPORT_FAILED = 10125;
constexpr UINT IDS_MERROW_EXPORT_FAILED = 10126;
// A value that cannot go into a host command as it stands: the field, the
// value.
constexpr UINT IDS_MERROW_INVALID_COMMAND_VALUE = 10127;
