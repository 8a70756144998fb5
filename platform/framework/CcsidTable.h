#pragma once
// The host coded character set identifiers the system knows, with the group
// each belongs to: 0 the Latin-1 family of EBCDIC code pages (Euro variants
// included), 1 other single-byte code pages, 2 mixed single- and double-byte,
// 3 pure double-byte, 4 Unicode encodings. Groups 2 to 4 count as double-byte.

#include "platform/framework/Types.h"

#include <span>

struct CcsidRow
{
    LONG ccsid;
    LONG group;
    const char16_t* description;
};

// The 72 rows in the order the code-page lists show them.
std::span<const CcsidRow> CcsidTable();

// The first row of that CCSID, or null.
const CcsidRow* FindCcsid(LONG ccsid);

// TRUE for a CCSID of the table in group 2, 3 or 4.
BOOL IsDoubleByteCcsid(LONG ccsid);
