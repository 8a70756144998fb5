#include "designer/resources/catalogue/DocStoreDocType.h"

#include "designer/resources/catalogue/DocStoreXml.h"
#include "platform/framework/Archive.h"

KWVD_IMPLEMENT_SERIAL(DocStoreDocType, CObject, VERSIONABLE_SCHEMA | 0)

BOOL DocStoreDocType::ReadFromXml(xmlNode* element)
{
    *this = DocStoreDocType();
    if (!docstore::ReadChildText(element, "name", m_name))
        return FALSE;
    docstore::ReadChildText(element, "description", m_description);
    docstore::ReadChildText(element, "rootFolder", m_rootFolder);
    m_id = docstore::ReadChildNumber(element, "id", -1);
    QString autoName;
    if (docstore::ReadChildText(element, "autoName", autoName))
        m_autoName = autoName.compare(QLatin1String("YES"), Qt::CaseInsensitive) == 0 ? 1 : 0;
    return TRUE;
}

void DocStoreDocType::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_id) << m_name << m_description << static_cast<WORD>(m_autoName);
        return;
    }
    LONG id = 0;
    WORD autoName = 0;
    ar >> id >> m_name >> m_description >> autoName;
    m_id = id;
    m_autoName = autoName;
}
