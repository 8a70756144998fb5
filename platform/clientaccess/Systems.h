#pragma once
// Systems: a system object for a configured system, the list of configured
// systems with the default one, and the user ID of a system. Names are
// compared without regard to case; every text is 8-bit (Windows-1252).

#include "platform/clientaccess/Service.h"

typedef unsigned long cwbCO_SysHandle;
typedef unsigned long cwbCO_SysListHandle;

extern "C" {

// A system object for a configured system: kCwbUnknownSystem when none has
// that name, kCwbSystemUnreachable when it cannot be reached.
unsigned cwbCO_CreateSystem(const char* systemName, cwbCO_SysHandle* system);
unsigned cwbCO_DeleteSystem(cwbCO_SysHandle system);

// The system's name as configured (its own case), 255 characters at most.
unsigned cwbCO_GetSystemName(cwbCO_SysHandle system, char* buffer, unsigned long bufferLength,
                             unsigned long* neededLength);

// The list of configured systems, in the order they were added, as it was
// when the list was made.
unsigned cwbCO_CreateSysListHandle(cwbCO_SysListHandle* list, cwbSV_ErrHandle errorHandle);
unsigned cwbCO_DeleteSysListHandle(cwbCO_SysListHandle list);
unsigned cwbCO_GetSysListSize(cwbCO_SysListHandle list, unsigned long* size);
// The name at index (from 0); kCwbNotFound past the end.
unsigned cwbCO_GetSysListName(cwbCO_SysListHandle list, unsigned long index, char* buffer, unsigned long bufferLength,
                              unsigned long* neededLength);

// The default system's name; kCwbNotFound with a host message when no
// system is configured. Callers pass a 255-character buffer.
unsigned cwbCO_GetDefaultSysName(char* buffer, unsigned long bufferLength, unsigned long* neededLength,
                                 cwbSV_ErrHandle errorHandle);

// The user ID of the system (at most 10 characters, so a buffer of 11 holds
// it with its NUL); an empty text when the system has none. userType is
// accepted for the callers that pass one; every kind gives the same user.
// *bufferLength is the buffer's size; kCwbTargetTooSmall fills what fits
// and sets it to the size needed, NUL included.
unsigned cwbCO_GetUserID(const char* systemName, char* userID, unsigned userType, unsigned long* bufferLength);
}
