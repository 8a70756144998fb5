#pragma once
// Every registry test works in its own temporary folder, named through
// KWVD_REGISTRY_DIR as the programs' store finds it, and puts the
// environment back afterwards.

#include "platform/registry/RegistryStore.h"
#include "tests/support/ScopedEnvironment.h"

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class RegistryFixture : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }

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
    ScopedRegistryFolder m_registry{m_dir.path()};
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
