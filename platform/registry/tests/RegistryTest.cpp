#include "platform/registry/Registry.h"

#include "platform/registry/RegistryStore.h"
#include "platform/registry/tests/RegistryTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <optional>

using kwvd::ApplicationKeyPath;
using kwvd::RegistryStatus;
using kwvd::RegistryStore;
using kwvd::RegistryValue;

TEST_F(RegistryFixture, CRegistryCreatesTheMissingKey)
{
    const QString subKey =
        ApplicationKeyPath(u"KWVD Designer") + QStringLiteral("\\Preferences\\AutoComplete\\SystemName");
    CRegistry registry(HKEY_CURRENT_USER, subKey);

    ASSERT_TRUE(registry.GetKey());
    EXPECT_EQ(registry.GetSubKeyName(), subKey);
    RegistryStore reader(Folder());
    EXPECT_TRUE(reader.KeyExists(HKEY_CURRENT_USER,
                                 u"Software\\Qorvane\\KWVD Designer\\Preferences\\AutoComplete\\SystemName"));

    // A key handle serves as the root too, as the histories open theirs below
    // the application's key.
    const auto application = reader.OpenKey(HKEY_CURRENT_USER, u"Software\\Qorvane\\KWVD Designer");
    ASSERT_TRUE(application);
    CRegistry history(*application, QStringLiteral("Preferences\\AutoComplete\\ElementDescription"));
    ASSERT_TRUE(history.GetKey());
    EXPECT_EQ(history.GetKey()->Path(),
              QStringLiteral("Software\\Qorvane\\KWVD Designer\\Preferences\\AutoComplete\\ElementDescription"));
}

TEST_F(RegistryFixture, CRegistryReadStringByStoredValue)
{
    struct Case
    {
        const char* name;
        std::optional<RegistryValue> stored;
        QString expected;
        // What the value is after the read.
        RegistryValue after;
    };
    const QString withNul = QStringLiteral("ab") + QChar(u'\0') + QStringLiteral("cd");
    const Case cases[] = {
        {"missing value is created empty", std::nullopt, "", RegistryValue::Text(u"")},
        {"text", RegistryValue::Text(u"Ansi"), "Ansi", RegistryValue::Text(u"Ansi")},
        {"text up to its first NUL", RegistryValue::Text(withNul), "ab", RegistryValue::Text(withNul)},
        {"empty text", RegistryValue::Text(u""), "", RegistryValue::Text(u"")},
        {"number is left alone", RegistryValue::Number(5), "", RegistryValue::Number(5)},
        {"binary is left alone", RegistryValue::Binary("\x01\x02"), "", RegistryValue::Binary("\x01\x02")},
    };

    CRegistry registry(HKEY_CURRENT_USER, QStringLiteral("Software\\Qorvane\\Test"));
    ASSERT_TRUE(registry.GetKey());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString valueName = QString::fromLatin1(c.name);
        if (c.stored) {
            ASSERT_EQ(RegistryStore::Instance().WriteValue(*registry.GetKey(), valueName, *c.stored),
                      RegistryStatus::Ok);
        }

        EXPECT_EQ(registry.ReadString(valueName), c.expected);

        RegistryStore reader(Folder());
        EXPECT_EQ(reader.ReadValue(*registry.GetKey(), valueName), c.after);
    }
}

TEST_F(RegistryFixture, CRegistryThatCouldNotOpenReadsEmpty)
{
    struct Case
    {
        const char* name;
        QString subKey;
        bool folderIsAFile;
    };
    const Case cases[] = {
        {"unusable sub-key name", "Software\\\\Qorvane", false},
        {"registry folder is a file", "Software\\Qorvane", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = m_dir.filePath(QStringLiteral("not-a-folder"));
        WriteFile(file, "x");
        m_registry.Use(c.folderIsAFile ? file : Folder());

        CRegistry registry(HKEY_CURRENT_USER, c.subKey);
        EXPECT_FALSE(registry.GetKey());
        EXPECT_EQ(registry.GetSubKeyName(), c.subKey);
        EXPECT_EQ(registry.ReadString(QStringLiteral("Value")), QString());
        EXPECT_FALSE(QFile::exists(UserFile()));
        EXPECT_EQ(ReadFile(file), QByteArray("x"));
    }
}

TEST_F(RegistryFixture, CRegistryDoesNotBringBackADeletedKey)
{
    CRegistry registry(HKEY_CURRENT_USER, QStringLiteral("Software\\Qorvane\\History"));
    ASSERT_TRUE(registry.GetKey());
    ASSERT_EQ(RegistryStore::Instance().DeleteKey(HKEY_CURRENT_USER, u"Software\\Qorvane\\History"),
              RegistryStatus::Ok);

    EXPECT_EQ(registry.ReadString(QStringLiteral("SearchString0")), QString());
    EXPECT_FALSE(RegistryStore::Instance().KeyExists(HKEY_CURRENT_USER, u"Software\\Qorvane\\History"));
}
