// libCWBSV.so: the service group, error handles and their messages.

#include "platform/clientaccess/Service.h"
#include "platform/clientaccess/byname/ByNameForward.h"

unsigned cwbSV_CreateErrHandle(cwbSV_ErrHandle* handle)
{
    KWVD_FORWARD(cwbSV_CreateErrHandle, handle);
}

unsigned cwbSV_DeleteErrHandle(cwbSV_ErrHandle handle)
{
    KWVD_FORWARD(cwbSV_DeleteErrHandle, handle);
}

unsigned cwbSV_GetErrCount(cwbSV_ErrHandle handle, unsigned long* count)
{
    KWVD_FORWARD(cwbSV_GetErrCount, handle, count);
}

unsigned cwbSV_GetErrText(cwbSV_ErrHandle handle, char* buffer, unsigned long bufferLength,
                          unsigned long* neededLength)
{
    KWVD_FORWARD(cwbSV_GetErrText, handle, buffer, bufferLength, neededLength);
}
