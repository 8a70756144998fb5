// libCWBSY.so: the security group, security objects and the sign-on.

#include "platform/clientaccess/Security.h"
#include "platform/clientaccess/byname/ByNameForward.h"

unsigned cwbSY_CreateSecurityObj(cwbSY_SecurityHandle* security)
{
    KWVD_FORWARD(cwbSY_CreateSecurityObj, security);
}

unsigned cwbSY_DeleteSecurityObj(cwbSY_SecurityHandle security)
{
    KWVD_FORWARD(cwbSY_DeleteSecurityObj, security);
}

unsigned cwbSY_SetSys(cwbSY_SecurityHandle security, const char* systemName)
{
    KWVD_FORWARD(cwbSY_SetSys, security, systemName);
}

unsigned cwbSY_Logon(cwbSY_SecurityHandle security, cwbSV_ErrHandle errorHandle)
{
    KWVD_FORWARD(cwbSY_Logon, security, errorHandle);
}
