#pragma once
// Fixed-width integer names of the system's records and files, and its
// integer truth values. Widths are what the stored formats use.

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using ULONGLONG = std::uint64_t;
using LONGLONG = std::int64_t;
using BOOL = int;

// Red in the low byte, then green, then blue; the top byte 0.
using COLORREF = DWORD;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif
