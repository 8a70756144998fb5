#pragma once
// Error handles: each collects the host messages of the calls made with it,
// in order, until it is deleted. Handles are numbers, never reused within a
// process, so a deleted handle stays invalid.

#include "platform/clientaccess/ResultCodes.h"

typedef unsigned long cwbSV_ErrHandle;

extern "C" {

unsigned cwbSV_CreateErrHandle(cwbSV_ErrHandle* handle);
unsigned cwbSV_DeleteErrHandle(cwbSV_ErrHandle handle);

// The number of messages the handle holds.
unsigned cwbSV_GetErrCount(cwbSV_ErrHandle handle, unsigned long* count);

// The text of every message the handle holds, one "ID: text" line each,
// joined by line feeds, NUL-terminated. With a buffer too small for the text
// and its NUL the call answers kCwbTargetTooSmall, fills what fits and sets
// *neededLength to the text's length without the NUL, so a one-byte probe
// learns the length to ask again with. kCwbNoMessages when there are none.
unsigned cwbSV_GetErrText(cwbSV_ErrHandle handle, char* buffer, unsigned long bufferLength,
                          unsigned long* neededLength);
}
