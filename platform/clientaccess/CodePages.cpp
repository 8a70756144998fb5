#include "platform/clientaccess/CodePages.h"

#include "platform/framework/CcsidTable.h"

namespace kwvd::clientaccess {

bool IsConvertibleCcsid(unsigned ccsid)
{
    // The PC's own code page, and the host CCSIDs the system knows.
    return ccsid == 1252 || FindCcsid(static_cast<LONG>(ccsid)) != nullptr;
}

} // namespace kwvd::clientaccess
