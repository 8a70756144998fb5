#pragma once
// The process environment for one scope. ScopedEnv keeps one variable as it
// found it and puts it back (or unsets it again) when it goes, whatever the
// test set in between; ScopedRegistryFolder gives a test a settings store of
// its own: a folder named through KWVD_REGISTRY_DIR, which the process's
// store looks up on every access, so nothing needs reloading when it changes.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

class ScopedEnv
{
public:
    explicit ScopedEnv(const char* name)
        : m_name(name), m_old(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {}
    ScopedEnv(const char* name, const QString& value) : ScopedEnv(name) { Set(value); }
    ~ScopedEnv()
    {
        if (m_old)
            qputenv(m_name, *m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    // A path or other text, in the file system's encoding.
    void Set(const QString& value) { qputenv(m_name, QFile::encodeName(value)); }
    void Unset() { qunsetenv(m_name); }

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

class ScopedRegistryFolder
{
public:
    // A new temporary folder, removed when the scope ends.
    ScopedRegistryFolder()
    {
        m_own.emplace();
        EXPECT_TRUE(m_own->isValid());
        Use(m_own->path());
    }
    // A folder the test owns (it need not exist yet).
    explicit ScopedRegistryFolder(const QString& folder) { Use(folder); }
    ScopedRegistryFolder(const ScopedRegistryFolder&) = delete;
    ScopedRegistryFolder& operator=(const ScopedRegistryFolder&) = delete;

    // Another folder from now on: a fresh store, as for each row of a table.
    void Use(const QString& folder)
    {
        m_folder = folder;
        m_env.Set(folder);
    }

    QString Path() const { return m_folder; }
    QString FilePath(const QString& name) const { return m_folder + u'/' + name; }

private:
    ScopedEnv m_env{"KWVD_REGISTRY_DIR"};
    std::optional<QTemporaryDir> m_own;
    QString m_folder;
};
