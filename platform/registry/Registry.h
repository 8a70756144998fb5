#pragma once
// A registry key held open for reading texts: the designer's helper behind the
// autocomplete histories.

#include "platform/registry/RegistryKey.h"

#include <QString>

#include <optional>

class CRegistry
{
public:
    // Opens root\subKeyName, creating it when missing. A failure is not
    // reported: the handle stays empty and every read gives an empty text.
    CRegistry(const kwvd::RegistryKey& root, const QString& subKeyName);
    ~CRegistry();

    CRegistry(const CRegistry&) = delete;
    CRegistry& operator=(const CRegistry&) = delete;

    // The text of the value up to its first NUL. A missing value is created
    // as an empty text so that it exists afterwards; a value of another type
    // is left as it is. Either way the result is empty.
    QString ReadString(const QString& valueName);

    const std::optional<kwvd::RegistryKey>& GetKey() const { return m_hKey; }
    const QString& GetSubKeyName() const { return m_strSubKey; }

private:
    std::optional<kwvd::RegistryKey> m_hKey;
    QString m_strSubKey;
};
