#include "platform/registry/Registry.h"

#include "platform/registry/RegistryStore.h"

using kwvd::RegistryStore;
using kwvd::RegistryValue;
using kwvd::RegistryValueType;

CRegistry::CRegistry(const kwvd::RegistryKey& root, const QString& subKeyName)
    : m_hKey(RegistryStore::Instance().CreateKey(root, subKeyName)), m_strSubKey(subKeyName)
{}

CRegistry::~CRegistry()
{
    m_hKey.reset();
}

QString CRegistry::ReadString(const QString& valueName)
{
    if (!m_hKey)
        return {};
    RegistryStore& store = RegistryStore::Instance();
    const std::optional<RegistryValue> value = store.ReadValue(*m_hKey, valueName);
    if (!value) {
        store.WriteValue(*m_hKey, valueName, RegistryValue::Text(QString()));
        return {};
    }
    // Overwriting a number or bytes with an empty text would lose them.
    if (value->Type() != RegistryValueType::Text)
        return {};
    QString text = value->ToText();
    const qsizetype end = text.indexOf(QChar(u'\0'));
    if (end >= 0)
        text.truncate(end);
    return text;
}
