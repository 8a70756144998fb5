#pragma once
// Each test gets its own HOME, XDG folders and registry store in a temporary
// folder; the environment is put back afterwards.

#include "designer/preferences/ColourRef.h"
#include "designer/preferences/Preferences.h"
#include "platform/registry/RegistryStore.h"
#include "tests/support/ScopedEnvironment.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <ostream>

// Failures show texts as text.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

class PreferencesFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(QDir().mkpath(Home()));
        m_home.Set(Home());
        m_dataHome.Set(DataHome());
        m_configHome.Set(ConfigHome());
        UseRegistryFolder(QStringLiteral("registry"));
    }

    // A fresh store for each row of a table.
    void UseRegistryFolder(const QString& name) { m_registry.Use(m_dir.filePath(name)); }

    QString Home() const { return m_dir.filePath(QStringLiteral("home")); }
    QString DataHome() const { return m_dir.filePath(QStringLiteral("data")); }
    QString ConfigHome() const { return m_dir.filePath(QStringLiteral("config")); }
    QString RegistryFolder() const { return m_registry.Path(); }

    static QString SectionPath(const char* section)
    {
        return QStringLiteral("Software\\Qorvane\\KWVD Designer\\") + QString::fromLatin1(section);
    }

    // Written and read by a store of its own, as another process would.
    void Store(const char* section, const QString& name, const kwvd::RegistryValue& value)
    {
        kwvd::RegistryStore store(RegistryFolder());
        const auto key = store.CreateKey(HKEY_CURRENT_USER, SectionPath(section));
        ASSERT_TRUE(key);
        ASSERT_EQ(store.WriteValue(*key, name, value), kwvd::RegistryStatus::Ok);
    }

    std::optional<kwvd::RegistryValue> Stored(const char* section, const QString& name) const
    {
        kwvd::RegistryStore store(RegistryFolder());
        const auto key = store.OpenKey(HKEY_CURRENT_USER, SectionPath(section));
        return key ? store.ReadValue(*key, name) : std::nullopt;
    }

    QTemporaryDir m_dir;
    ScopedEnv m_home{"HOME"};
    ScopedEnv m_dataHome{"XDG_DATA_HOME"};
    ScopedEnv m_configHome{"XDG_CONFIG_HOME"};
    ScopedRegistryFolder m_registry{m_dir.filePath(QStringLiteral("registry"))};
};

// A preference value as the tables name it in their messages.
inline QString Shown(int number)
{
    return QString::number(number);
}
inline QString Shown(DWORD number)
{
    return QString::number(number);
}
inline QString Shown(const QString& text)
{
    return text;
}
inline QString Shown(ZoomPair zoom)
{
    return QStringLiteral("%1,%2").arg(zoom.x).arg(zoom.y);
}
inline QString ShownColour(COLORREF colour)
{
    return QStringLiteral("%1,%2,%3").arg(kwvd::RedOf(colour)).arg(kwvd::GreenOf(colour)).arg(kwvd::BlueOf(colour));
}
