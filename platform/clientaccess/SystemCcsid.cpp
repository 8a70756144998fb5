#include "platform/clientaccess/SystemCcsid.h"

#include "platform/clientaccess/CodePages.h"
#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/LayerText.h"

using namespace kwvd::clientaccess;

namespace {

// The host's own default when a system has none configured.
constexpr unsigned long kDefaultCcsid = 37;

} // namespace

unsigned cwbNL_GetHostCCSID(const char* systemName, unsigned long* ccsid, cwbSV_ErrHandle errorHandle)
{
    if (!systemName || !ccsid)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbNL_GetHostCCSID", errorHandle))
        return fault;
    HostSystem found;
    if (const unsigned result = LookUpSystem(systemName, &found, errorHandle))
        return result;
    const HostSystem* system = &found;
    const std::string name = systemName;
    if (system->ccsid == 0) {
        *ccsid = kDefaultCcsid;
        AddHostMessage(errorHandle, "KWV1201", "System " + name + " has no CCSID set; CCSID 37 is used.");
        return kCwbDefaultCcsid;
    }
    *ccsid = system->ccsid;
    if (!IsConvertibleCcsid(system->ccsid)) {
        AddHostMessage(errorHandle, "KWV1202",
                       "CCSID " + std::to_string(system->ccsid) + " of system " + name + " cannot be converted.");
        return kCwbInvalidCcsid;
    }
    return kCwbOk;
}
