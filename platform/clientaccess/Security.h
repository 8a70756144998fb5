#pragma once
// Security objects: one is set to a system and signs on to it. The sign-on
// never shows a window: it succeeds for a reachable system with a user ID
// that does not refuse it, and otherwise fails with a host message.

#include "platform/clientaccess/Service.h"

typedef unsigned long cwbSY_SecurityHandle;

extern "C" {

unsigned cwbSY_CreateSecurityObj(cwbSY_SecurityHandle* security);
unsigned cwbSY_DeleteSecurityObj(cwbSY_SecurityHandle security);

// kCwbUnknownSystem when no system has that name.
unsigned cwbSY_SetSys(cwbSY_SecurityHandle security, const char* systemName);

// kCwbInvalidParameter before a system was set; kCwbSystemUnreachable,
// kCwbSignonRefused (no user ID, or the system refuses) with a host message.
unsigned cwbSY_Logon(cwbSY_SecurityHandle security, cwbSV_ErrHandle errorHandle);
}
