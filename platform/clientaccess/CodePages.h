#pragma once
// Code pages: the PC's code page, the code page of a host CCSID, and
// converters between two code pages or CCSIDs. Lengths are in bytes.
//
// The PC's code page is Windows-1252. The host's EBCDIC CCSIDs are those of
// the system's CCSID table that glibc's iconv carries; each pure double-byte
// CCSID goes through the double-byte set of its mixed CCSID. 1200 is UTF-16
// big-endian, 1202 UTF-16 little-endian, 1208 UTF-8 and 13488 UCS-2
// big-endian.

#include "platform/clientaccess/Service.h"

typedef unsigned long cwbNL_Converter;

// Options of cwbNL_CreateConverterEx.
enum : unsigned long {
    kCwbNlPlain = 0,
    // Host text keeps one character per host byte on the PC side: SO and SI
    // read as U+000E and U+000F and every double-byte character is followed
    // by a blank filler; that form is read back towards the host.
    kCwbNlColumnMode = 1,
};

extern "C" {

// 1252.
unsigned cwbNL_GetPCCodePage(unsigned long* codePage);

// The code page text in that CCSID is converted with; kCwbInvalidCcsid (with
// a host message) when it cannot be converted.
unsigned cwbNL_GetCodePageOfCCSID(unsigned long ccsid, unsigned long* codePage, cwbSV_ErrHandle errorHandle);

// A converter from the source to the target code page or CCSID;
// kCwbInvalidCcsid (with a host message) when either cannot be converted.
unsigned cwbNL_CreateConverterEx(unsigned long sourceCodePage, unsigned long targetCodePage, unsigned long options,
                                 cwbNL_Converter* converter, cwbSV_ErrHandle errorHandle);

unsigned cwbNL_DeleteConverter(cwbNL_Converter converter, cwbSV_ErrHandle errorHandle);

// Converts sourceLength bytes into at most targetLength bytes of the target
// and hands back the bytes written (convertedLength) and the bytes the whole
// text takes (neededLength); either pointer may be null.
//
// kCwbSubstituted, with a host message, when characters without an
// equivalent were replaced by the substitution character; the text is
// complete. kCwbTargetTooSmall, with a host message, when the text does not
// fit: the target holds the characters that fit whole, an open double-byte
// run closed by SI within targetLength. A target of length 0 (null allowed)
// asks only for the length needed.
unsigned cwbNL_Convert(cwbNL_Converter converter, unsigned long sourceLength, unsigned long targetLength,
                       const char* source, char* target, unsigned long* convertedLength, unsigned long* neededLength,
                       cwbSV_ErrHandle errorHandle);
}

namespace kwvd::clientaccess {

// Whether text can be converted to and from this CCSID or code page.
bool IsConvertibleCcsid(unsigned ccsid);

// kCwbInvalidCcsid, with the host message that says the CCSID cannot be
// converted.
unsigned RefuseCcsid(unsigned long ccsid, cwbSV_ErrHandle errorHandle);

} // namespace kwvd::clientaccess
