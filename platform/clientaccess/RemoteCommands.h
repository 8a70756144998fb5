#pragma once
// Remote commands: a connection to a system is one job of the host, with the
// system's initial library list; each command text runs in it, and the host
// messages a command gives go to the caller's error handle. A command has
// succeeded when it gave none.

#include "platform/clientaccess/Service.h"
#include "platform/clientaccess/Systems.h"

typedef unsigned long cwbRC_SysHandle;

extern "C" {

// Starts a connection on a system object. Failures: kCwbInvalidHandle (no
// such system object), kCwbUnknownSystem or kCwbSystemUnreachable (the
// system went since the object was made), kCwbStoreError; each with a host
// message when the caller passes an error handle (0 takes none).
unsigned cwbRC_StartSysEx(cwbCO_SysHandle system, cwbRC_SysHandle* connection, cwbSV_ErrHandle errorHandle);

// Runs one command. kCwbCommandFailed when the host gave messages, which are
// added to the error handle.
unsigned cwbRC_RunCmd(cwbRC_SysHandle connection, const char* commandText, cwbSV_ErrHandle errorHandle);

// Ends the connection and its job.
unsigned cwbRC_StopSys(cwbRC_SysHandle connection);
}
