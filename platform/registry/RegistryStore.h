#pragma once
// The settings store: three roots of keys with typed values, each root kept
// in one text file ("user.reg", "machine.reg", "classes.reg") in the registry
// folder. Several processes share the files: a write re-reads its file under
// an advisory lock, changes only what it was asked to and replaces the file
// atomically; a read picks up the file again whenever it has been replaced.
//
// Nothing here throws. Failures come back as a status or an empty result and
// are logged with the operating system's reason.

#include "platform/registry/RegistryKey.h"
#include "platform/registry/RegistryValue.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kwvd {

enum class RegistryStatus {
    Ok,
    NotFound,    // the key or value is not there
    InvalidName, // an empty, over-deep or unusable key name
    IoError,     // the file could not be read or replaced; it is as it was
};

// "Software\Qorvane\<program>", where each program keeps its settings.
QString ApplicationKeyPath(QStringView program);

class RegistryStore
{
public:
    // Finds its folder from the environment on every call (see DefaultFolder).
    RegistryStore();
    explicit RegistryStore(QString folder);
    ~RegistryStore();

    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // The process's store, shared by every library loaded into it.
    static RegistryStore& Instance();

    // $KWVD_REGISTRY_DIR when set, else $XDG_CONFIG_HOME/kwvd/registry, else
    // ~/.config/kwvd/registry.
    static QString DefaultFolder();

    QString Folder() const;
    QString FilePath(RegistryRoot root) const;

    // Sub-key paths are "\"-separated and relative to the parent key; an
    // empty one is the parent itself. Key and value names match without
    // regard to ASCII case and keep the case they were created with.

    // Creates the missing keys of the path (the parent must exist).
    std::optional<RegistryKey> CreateKey(const RegistryKey& parent, QStringView subKey);
    std::optional<RegistryKey> OpenKey(const RegistryKey& parent, QStringView subKey);
    bool KeyExists(const RegistryKey& parent, QStringView subKey);
    // Deletes the key with all its values and subkeys.
    RegistryStatus DeleteKey(const RegistryKey& parent, QStringView subKey);

    // An empty value name is the key's default value.
    std::optional<RegistryValue> ReadValue(const RegistryKey& key, QStringView name);
    // Empty when the value is missing or of another type.
    std::optional<std::uint32_t> ReadNumber(const RegistryKey& key, QStringView name);
    std::optional<QString> ReadText(const RegistryKey& key, QStringView name);
    std::optional<std::string> ReadTextUtf8(const RegistryKey& key, QStringView name);
    std::optional<QByteArray> ReadBinary(const RegistryKey& key, QStringView name);

    // A new value goes after the key's other values; a value that exists
    // keeps its place and the case of its name, and takes the new type.
    RegistryStatus WriteValue(const RegistryKey& key, QStringView name, const RegistryValue& value);
    RegistryStatus DeleteValue(const RegistryKey& key, QStringView name);

    // In the order they were created; empty when the key does not exist.
    std::vector<QString> EnumSubKeys(const RegistryKey& key);
    std::vector<std::pair<QString, RegistryValue>> EnumValues(const RegistryKey& key);

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace kwvd
