#include "designer/resources/catalogue/DocStoreKey.h"

#include "designer/resources/catalogue/DocStoreManager.h"
#include "designer/resources/catalogue/DocStoreXml.h"
#include "platform/framework/Archive.h"

#include <iterator>

KWVD_IMPLEMENT_SERIAL(DocStoreKey, CObject, VERSIONABLE_SCHEMA | 0)

namespace {

struct KeyTypeRow
{
    const char* name;
    const char* description;
};

constexpr KeyTypeRow kKeyTypes[] = {
    {"SMALLINT", "Numeric (-32768 to +32767)"},
    {"INTEGER", "Numeric (-2147483648 to +2147483647)"},
    {"BIGINT", "Numeric (-9223372036854775808 to +9223372036854775807)"},
    {"CHAR", "Text (Length: %1)"},
    {"VARCHAR", "Text (Max Length: %1)"},
    {"TIMESTAMP", "TimeStamp (Format: YYYY-MM-DD HH:MM:SS:DDDD)"},
    {"DATE", "Date (Format: YYYY-MM-DD)"},
    {"TIME", "Time (Format: HH:MM:SS"},
    {"FLOAT", "Real (32 bit floating point)"},
    {"REAL", "Real (32 bit floating point)"},
    {"DOUBLE", "Real (64 bit floating point)"},
    {"DECIMAL", "Decimal (%1, %2)"},
    {"NUMERIC", "Decimal (%1, %2)"},
    {"UNKNOWN", "Unknown"},
};

constexpr int kKeyTypeCount = static_cast<int>(std::size(kKeyTypes));

bool InTable(DocStoreKeyType type)
{
    const int value = static_cast<int>(type);
    return value >= 0 && value < kKeyTypeCount;
}

} // namespace

DocStoreKeyType DocStoreKey::ParseTypeName(const QString& name)
{
    const QString upper = name.toUpper();
    for (int i = 0; i < kKeyTypeCount; ++i)
        if (upper == QLatin1String(kKeyTypes[i].name))
            return static_cast<DocStoreKeyType>(i);
    return DocStoreKeyType::Unknown;
}

QString DocStoreKey::GetTypeName(DocStoreKeyType type)
{
    if (!InTable(type))
        return {};
    return QString::fromLatin1(kKeyTypes[static_cast<int>(type)].name);
}

void DocStoreKey::BuildTypeDescription()
{
    m_typeDescription = GetTypeName(m_type);
    if (!InTable(m_type))
        return;
    const QString description = QString::fromLatin1(kKeyTypes[static_cast<int>(m_type)].description);
    switch (m_type) {
    case DocStoreKeyType::Char:
    case DocStoreKeyType::VarChar:
        m_typeDescription = description.arg(m_size);
        break;
    case DocStoreKeyType::Decimal:
    case DocStoreKeyType::Numeric:
        m_typeDescription = description.arg(m_size).arg(m_scale);
        break;
    default:
        m_typeDescription = description;
        break;
    }
}

BOOL DocStoreKey::ReadFromXml(xmlNode* element)
{
    *this = DocStoreKey();
    if (!docstore::ReadChildText(element, "name", m_name))
        return FALSE;
    docstore::ReadChildText(element, "description", m_description);
    QString typeName;
    if (docstore::ReadChildText(element, "type", typeName))
        m_type = ParseTypeName(typeName);
    m_id = docstore::ReadChildNumber(element, "id", -1);
    m_size = docstore::ReadChildNumber(element, "size", 0);
    m_scale = docstore::ReadChildNumber(element, "scale", 0);
    BuildTypeDescription();
    return TRUE;
}

void DocStoreKey::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<LONG>(m_id) << GetTypeName(m_type) << m_name << m_description << static_cast<LONG>(m_size)
           << static_cast<LONG>(m_scale);
        return;
    }
    LONG id = 0, size = 0, scale = 0;
    QString typeName;
    ar >> id >> typeName >> m_name >> m_description >> size >> scale;
    if (CDocStoreManager::FileVersionOf(ar) < 54) {
        // Files before version 54 carry two words and a text here that no
        // longer mean anything.
        WORD unusedWord = 0;
        QString unusedText;
        ar >> unusedWord >> unusedWord >> unusedText;
    }
    m_id = id;
    m_size = size;
    m_scale = scale;
    m_type = ParseTypeName(typeName);
    BuildTypeDescription();
}
