#pragma once
// The layer's own side of the error handles: how a call adds the host
// messages it gives.

#include "platform/clientaccess/Service.h"

#include <string>
#include <vector>

namespace kwvd::clientaccess {

struct HostMessage
{
    std::string id;   // an identifier of our own, as "KWV1001"
    std::string text; // one line
};

// Adds a message to the handle. Handle 0 (the caller kept none) and a
// deleted handle take nothing; the result says whether it was added.
bool AddHostMessage(cwbSV_ErrHandle handle, std::string id, std::string text);

// The messages the handle holds, empty for an invalid handle.
std::vector<HostMessage> HostMessages(cwbSV_ErrHandle handle);

} // namespace kwvd::clientaccess
