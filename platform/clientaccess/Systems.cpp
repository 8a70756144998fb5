#include "platform/clientaccess/Systems.h"

#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/HandleTable.h"
#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/HostStore.h"
#include "platform/clientaccess/LayerText.h"

#include <string>
#include <vector>

using namespace kwvd::clientaccess;

namespace {

HandleTable<QString>& SystemObjects()
{
    static HandleTable<QString> table;
    return table;
}

HandleTable<std::vector<std::string>>& SystemLists()
{
    static HandleTable<std::vector<std::string>> table;
    return table;
}

} // namespace

unsigned cwbCO_CreateSystem(const char* systemName, cwbCO_SysHandle* system)
{
    if (!systemName || !system)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbCO_CreateSystem"))
        return fault;
    HostSystem found;
    if (const unsigned result = LookUpSystem(systemName, &found, 0))
        return result;
    if (!found.reachable)
        return kCwbSystemUnreachable;
    *system = SystemObjects().Add(found.name);
    return kCwbOk;
}

unsigned cwbCO_DeleteSystem(cwbCO_SysHandle system)
{
    return SystemObjects().Remove(system) ? kCwbOk : kCwbInvalidHandle;
}

unsigned cwbCO_GetSystemName(cwbCO_SysHandle system, char* buffer, unsigned long bufferLength,
                             unsigned long* neededLength)
{
    const std::optional<QString> name = SystemObjects().Get(system);
    if (!name)
        return kCwbInvalidHandle;
    return CopyTextOut(ToInterfaceText(*name), buffer, bufferLength, neededLength);
}

unsigned cwbCO_CreateSysListHandle(cwbCO_SysListHandle* list, cwbSV_ErrHandle errorHandle)
{
    if (!list)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbCO_CreateSysListHandle", errorHandle))
        return fault;
    QString error;
    const std::optional<StoreState> state = ReadStore(&error);
    if (!state)
        return StoreFailure(errorHandle, error);
    std::vector<std::string> names;
    for (const HostSystem& system : state->systems)
        names.push_back(ToInterfaceText(system.name));
    *list = SystemLists().Add(std::move(names));
    return kCwbOk;
}

unsigned cwbCO_DeleteSysListHandle(cwbCO_SysListHandle list)
{
    return SystemLists().Remove(list) ? kCwbOk : kCwbInvalidHandle;
}

unsigned cwbCO_GetSysListSize(cwbCO_SysListHandle list, unsigned long* size)
{
    const auto names = SystemLists().Get(list);
    if (!names)
        return kCwbInvalidHandle;
    if (!size)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbCO_GetSysListSize"))
        return fault;
    *size = names->size();
    return kCwbOk;
}

unsigned cwbCO_GetSysListName(cwbCO_SysListHandle list, unsigned long index, char* buffer, unsigned long bufferLength,
                              unsigned long* neededLength)
{
    const auto names = SystemLists().Get(list);
    if (!names)
        return kCwbInvalidHandle;
    if (index >= names->size())
        return kCwbNotFound;
    return CopyTextOut((*names)[index], buffer, bufferLength, neededLength);
}

unsigned cwbCO_GetDefaultSysName(char* buffer, unsigned long bufferLength, unsigned long* neededLength,
                                 cwbSV_ErrHandle errorHandle)
{
    if (!buffer || bufferLength == 0)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbCO_GetDefaultSysName", errorHandle))
        return fault;
    QString error;
    const std::optional<StoreState> state = ReadStore(&error);
    if (!state)
        return StoreFailure(errorHandle, error);
    const HostSystem* system = DefaultSystem(*state);
    if (!system) {
        AddHostMessage(errorHandle, "KWV1001", "No system is configured.");
        return kCwbNotFound;
    }
    return CopyTextOut(ToInterfaceText(system->name), buffer, bufferLength, neededLength);
}

unsigned cwbCO_GetUserID(const char* systemName, char* userID, unsigned /*userType*/, unsigned long* bufferLength)
{
    if (!systemName || !userID || !bufferLength || *bufferLength == 0)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbCO_GetUserID"))
        return fault;
    HostSystem system;
    if (const unsigned result = LookUpSystem(systemName, &system, 0))
        return result;
    unsigned long needed = 0;
    const unsigned result = CopyTextOut(ToInterfaceText(system.userId.left(10)), userID, *bufferLength, &needed);
    if (result == kCwbTargetTooSmall)
        *bufferLength = needed + 1;
    return result;
}
