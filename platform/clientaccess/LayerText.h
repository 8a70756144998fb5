#pragma once
// How the layer hands text to its callers' buffers and reports its own
// failures, shared by every group.

#include "platform/clientaccess/Service.h"

#include <QString>

#include <string>

namespace kwvd::clientaccess {

// Copies text and its NUL into buffer. A buffer too small is filled with
// what fits and NUL-terminated, and the answer is kCwbTargetTooSmall;
// *neededLength (when given) is always the text's length without the NUL.
unsigned CopyTextOut(const std::string& text, char* buffer, unsigned long bufferLength, unsigned long* neededLength);

// 8-bit text of the interface to and from the store's text (Windows-1252).
QString FromInterfaceText(const char* text);
std::string ToInterfaceText(const QString& text);

struct HostSystem;

// The configured system of that name, as the store holds it now: kCwbOk,
// kCwbUnknownSystem or kCwbStoreError, each failure with a host message.
unsigned LookUpSystem(const char* systemName, HostSystem* system, cwbSV_ErrHandle errorHandle);

// Adds the layer's message for a store that could not be read or written
// and answers kCwbStoreError.
unsigned StoreFailure(cwbSV_ErrHandle errorHandle, const QString& reason);

} // namespace kwvd::clientaccess
