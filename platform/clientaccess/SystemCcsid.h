#pragma once
// The CCSID of a named system, the host side of every code-page conversion.

#include "platform/clientaccess/Service.h"

extern "C" {

// The system's CCSID. None set: 37, with kCwbDefaultCcsid and a host
// message. One that cannot be converted: that CCSID, with kCwbInvalidCcsid
// and a host message. kCwbUnknownSystem for a name no system has.
unsigned cwbNL_GetHostCCSID(const char* systemName, unsigned long* ccsid, cwbSV_ErrHandle errorHandle);
}
