// libCWBCO.so: the systems group, system objects, the system list, the
// default system and user IDs.

#include "platform/clientaccess/Systems.h"
#include "platform/clientaccess/byname/ByNameForward.h"

unsigned cwbCO_CreateSystem(const char* systemName, cwbCO_SysHandle* system)
{
    KWVD_FORWARD(cwbCO_CreateSystem, systemName, system);
}

unsigned cwbCO_DeleteSystem(cwbCO_SysHandle system)
{
    KWVD_FORWARD(cwbCO_DeleteSystem, system);
}

unsigned cwbCO_GetSystemName(cwbCO_SysHandle system, char* buffer, unsigned long bufferLength,
                             unsigned long* neededLength)
{
    KWVD_FORWARD(cwbCO_GetSystemName, system, buffer, bufferLength, neededLength);
}

unsigned cwbCO_CreateSysListHandle(cwbCO_SysListHandle* list, cwbSV_ErrHandle errorHandle)
{
    KWVD_FORWARD(cwbCO_CreateSysListHandle, list, errorHandle);
}

unsigned cwbCO_DeleteSysListHandle(cwbCO_SysListHandle list)
{
    KWVD_FORWARD(cwbCO_DeleteSysListHandle, list);
}

unsigned cwbCO_GetSysListSize(cwbCO_SysListHandle list, unsigned long* size)
{
    KWVD_FORWARD(cwbCO_GetSysListSize, list, size);
}

unsigned cwbCO_GetSysListName(cwbCO_SysListHandle list, unsigned long index, char* buffer, unsigned long bufferLength,
                              unsigned long* neededLength)
{
    KWVD_FORWARD(cwbCO_GetSysListName, list, index, buffer, bufferLength, neededLength);
}

unsigned cwbCO_GetDefaultSysName(char* buffer, unsigned long bufferLength, unsigned long* neededLength,
                                 cwbSV_ErrHandle errorHandle)
{
    KWVD_FORWARD(cwbCO_GetDefaultSysName, buffer, bufferLength, neededLength, errorHandle);
}

unsigned cwbCO_GetUserID(const char* systemName, char* userID, unsigned userType, unsigned long* bufferLength)
{
    KWVD_FORWARD(cwbCO_GetUserID, systemName, userID, userType, bufferLength);
}
