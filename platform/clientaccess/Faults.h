#pragma once
// Fault injection: the emulated host's store can hold, per operation, a
// result code and a host message that the next call (or every call) of that
// operation gives instead of doing its work. Tests and `emuhost fail` set
// them; each call of the layer asks here first.

#include "platform/clientaccess/Service.h"

namespace kwvd::clientaccess {

// The code of a fault injected for the operation, 0 when none is set or the
// store cannot be read. `operation` is the name of the C function that asks,
// as "cwbNL_Convert". When a fault is set its host message is added to
// `errorHandle` (0 takes none), and a fault set to fail once is used up.
unsigned InjectedFault(const char* operation, cwbSV_ErrHandle errorHandle = 0);

// Sets operation to fail with code (not 0) and, when messageId is not empty,
// that host message; once, or on every call until cleared. A new fault for
// the same operation replaces the old one. False when the store cannot be
// written.
bool SetInjectedFault(const char* operation, unsigned code, const char* messageId, const char* messageText, bool once);

// Removes every injected fault.
bool ClearInjectedFaults();

} // namespace kwvd::clientaccess
