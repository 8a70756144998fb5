#pragma once
// How a library of the layer by name passes its calls on. Its functions have
// the names of those of kwvd_clientaccess, so the one to call is looked up in
// that library's own symbols: looked up through the process, the name could
// find the forwarding function itself.

#include "platform/clientaccess/ResultCodes.h"

namespace kwvd::clientaccess::byname {

// The function of that name in kwvd_clientaccess; null if it has none.
void* Implementation(const char* name);

// The implementation of forwarder, typed as it is.
template <typename Function>
Function* Resolve(Function* /*forwarder*/, const char* name)
{
    return reinterpret_cast<Function*>(Implementation(name));
}

} // namespace kwvd::clientaccess::byname

// The body of a forwarding function: the implementation is looked up once,
// then called with the arguments given.
#define KWVD_FORWARD(name, ...)                                                                   \
    static const auto target = ::kwvd::clientaccess::byname::Resolve(&name, #name);            \
    return target ? target(__VA_ARGS__) : kCwbInvalidHandle
