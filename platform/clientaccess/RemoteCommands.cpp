#include "platform/clientaccess/RemoteCommands.h"

#include "platform/clientaccess/CommandRunner.h"
#include "platform/clientaccess/Faults.h"
#include "platform/clientaccess/HandleTable.h"
#include "platform/clientaccess/LayerText.h"

#include <QString>

using namespace kwvd::clientaccess;

namespace {

HandleTable<HostJob>& Connections()
{
    static HandleTable<HostJob> table;
    return table;
}

} // namespace

unsigned cwbRC_StartSysEx(cwbCO_SysHandle system, cwbRC_SysHandle* connection, cwbSV_ErrHandle errorHandle)
{
    if (!connection)
        return kCwbInvalidParameter;
    char name[256];
    unsigned long needed = 0;
    if (cwbCO_GetSystemName(system, name, sizeof name, &needed) != kCwbOk)
        return kCwbInvalidHandle;
    if (const unsigned fault = InjectedFault("cwbRC_StartSysEx", errorHandle))
        return fault;
    HostJob job;
    QString error;
    const unsigned result = StartHostJob(FromInterfaceText(name), &job, &error);
    if (result != kCwbOk) {
        AddHostMessage(errorHandle, "KWV1005", ToInterfaceText(error));
        return result;
    }
    *connection = Connections().Add(std::move(job));
    return kCwbOk;
}

unsigned cwbRC_RunCmd(cwbRC_SysHandle connection, const char* commandText, cwbSV_ErrHandle errorHandle)
{
    std::optional<HostJob> job = Connections().Get(connection);
    if (!job)
        return kCwbInvalidHandle;
    if (!commandText)
        return kCwbInvalidParameter;
    if (const unsigned fault = InjectedFault("cwbRC_RunCmd", errorHandle))
        return fault;
    std::vector<HostMessage> messages;
    const unsigned result = RunInJob(*job, FromInterfaceText(commandText), &messages);
    // The job keeps what the command changed (its library list).
    Connections().Update(connection, [&](HostJob& kept) { kept = *job; });
    for (const HostMessage& message : messages)
        AddHostMessage(errorHandle, message.id, message.text);
    return result;
}

unsigned cwbRC_StopSys(cwbRC_SysHandle connection)
{
    return Connections().Remove(connection) ? kCwbOk : kCwbInvalidHandle;
}
