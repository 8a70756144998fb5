#include "platform/clientaccess/Security.h"

#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/HandleTable.h"
#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/LayerText.h"

using namespace kwvd::clientaccess;

namespace {

// The system a security object is set to; empty until set.
HandleTable<QString>& SecurityObjects()
{
    static HandleTable<QString> table;
    return table;
}

} // namespace

unsigned cwbSY_CreateSecurityObj(cwbSY_SecurityHandle* security)
{
    if (!security)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbSY_CreateSecurityObj"))
        return fault;
    *security = SecurityObjects().Add(QString());
    return kCwbOk;
}

unsigned cwbSY_DeleteSecurityObj(cwbSY_SecurityHandle security)
{
    if (!SecurityObjects().Get(security))
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbSY_DeleteSecurityObj"))
        return fault;
    SecurityObjects().Remove(security);
    return kCwbOk;
}

unsigned cwbSY_SetSys(cwbSY_SecurityHandle security, const char* systemName)
{
    if (!SecurityObjects().Get(security))
        return kCwbInvalidHandle;
    if (!systemName || !*systemName)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbSY_SetSys"))
        return fault;
    HostSystem system;
    if (const unsigned result = LookUpSystem(systemName, &system, 0))
        return result;
    SecurityObjects().Update(security, [&](QString& set) { set = system.name; });
    return kCwbOk;
}

unsigned cwbSY_Logon(cwbSY_SecurityHandle security, cwbSV_ErrHandle errorHandle)
{
    const std::optional<QString> systemName = SecurityObjects().Get(security);
    if (!systemName)
        return kCwbInvalidHandle;
    if (systemName->isEmpty())
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbSY_Logon", errorHandle))
        return fault;
    const std::string name = ToInterfaceText(*systemName);
    HostSystem found;
    if (const unsigned result = LookUpSystem(name.c_str(), &found, errorHandle))
        return result;
    const HostSystem* system = &found;
    if (!system->reachable) {
        AddHostMessage(errorHandle, "KWV1003", "System " + name + " cannot be reached.");
        return kCwbSystemUnreachable;
    }
    if (system->userId.isEmpty()) {
        AddHostMessage(errorHandle, "KWV1101", "No user ID is set for system " + name + ".");
        return kCwbSignonRefused;
    }
    if (system->refusesSignon) {
        AddHostMessage(errorHandle, "KWV1102",
                       "Sign-on of user " + ToInterfaceText(system->userId) + " to system " + name + " refused.");
        return kCwbSignonRefused;
    }
    return kCwbOk;
}
