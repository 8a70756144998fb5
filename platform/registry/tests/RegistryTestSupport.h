#pragma once
// Every registry test works in its own temporary folder, named through
// KWVD_REGISTRY_DIR as the programs' store finds it, and puts the
// environment back afterwards.

#include "platform/registry/RegistryStore.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>

class ScopedEnv
{
public:
    explicit ScopedEnv(const char* name)
        : m_name(name), m_old(qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt)
    {
    }
    ~ScopedEnv()
    {
        if (m_old)
            qputenv(m_name, *m_old);
        else
            qunsetenv(m_name);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

    void Set(const QByteArray& value) { qputenv(m_name, value); }
    void Unset() { qunsetenv(m_name); }

private:
    const char* m_name;
    std::optional<QByteArray> m_old;
};

class RegistryFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_env.Set(QFile::encodeName(m_dir.path()));
    }

    QString Folder() const { return m_dir.path(); }
    QString UserFile() const { return m_dir.filePath(QStringLiteral("user.reg")); }

    static QByteArray ReadFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    static void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QTemporaryDir m_dir;
    ScopedEnv m_env{"KWVD_REGISTRY_DIR"};
    // Finds its folder through the environment, as the process's store does.
    kwvd::RegistryStore m_store;
};

// Printed by GoogleTest when a comparison fails.
namespace kwvd {
inline void PrintTo(const RegistryValue& value, std::ostream* os)
{
    switch (value.Type()) {
    case RegistryValueType::Number:
        *os << "number " << value.ToNumber();
        break;
    case RegistryValueType::Text:
        *os << "text \"" << value.Data().toStdString() << '"';
        break;
    case RegistryValueType::Binary:
        *os << "binary " << value.Data().toHex(',').toStdString();
        break;
    }
}
} // namespace kwvd

inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}
