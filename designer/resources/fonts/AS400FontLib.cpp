#include "designer/resources/fonts/AS400FontLib.h"

#include "platform/framework/Archive.h"

KWVD_IMPLEMENT_SERIAL(CAS400FontLib, CObject, VERSIONABLE_SCHEMA | 1)

void CAS400FontLib::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strName << static_cast<WORD>(m_bInstalled ? 1 : 0);
        return;
    }
    WORD installed = 0;
    ar >> m_strName >> installed;
    m_bInstalled = installed != 0 ? TRUE : FALSE;
}
