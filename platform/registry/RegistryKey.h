#pragma once
// A key of the settings store as its users hold it: one of the three roots and
// the path below it. A handle names a key; the store checks on every use that
// the key is still there.

#include <QString>

#include <utility>

namespace kwvd {

enum class RegistryRoot {
    CurrentUser,
    LocalMachine,
    ClassesRoot,
};

class RegistryKey
{
public:
    // A root stands for its own top key, so the roots can be passed wherever
    // an open key is expected.
    RegistryKey(RegistryRoot root) : m_root(root) {}

    RegistryRoot Root() const { return m_root; }

    // Below the root, "\"-separated, in the case the keys were created with;
    // empty for the root itself.
    const QString& Path() const { return m_path; }

private:
    friend class RegistryStore;

    RegistryKey(RegistryRoot root, QString path) : m_root(root), m_path(std::move(path)) {}

    RegistryRoot m_root;
    QString m_path;
};

} // namespace kwvd

// The names the system's code uses for the three roots.
inline constexpr kwvd::RegistryRoot HKEY_CURRENT_USER = kwvd::RegistryRoot::CurrentUser;
inline constexpr kwvd::RegistryRoot HKEY_LOCAL_MACHINE = kwvd::RegistryRoot::LocalMachine;
inline constexpr kwvd::RegistryRoot HKEY_CLASSES_ROOT = kwvd::RegistryRoot::ClassesRoot;
