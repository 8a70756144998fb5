// The Linux folders behind the folder preferences, made at load when the
// store has none.

#include "designer/preferences/tests/PreferencesFixture.h"

#include <QFileInfo>

using kwvd::RegistryValue;

TEST_F(PreferencesFixture, FolderDefaultsComeFromTheUsersFolders)
{
    struct Case
    {
        const char* name;
        const char* dataHome; // relative to the test folder; nullptr: unset
        const char* userDirs; // user-dirs.dirs in the config folder; nullptr: none
        const char* expectedData;
        const char* expectedDocuments;
    };
    const Case cases[] = {
        {"XDG data folder", "data", nullptr, "data/KWVD Designer", "home/Documents"},
        {"no XDG data folder", nullptr, nullptr, "home/.local/share/KWVD Designer", "home/Documents"},
        {"relative XDG data folder is ignored", "relative", nullptr, "home/.local/share/KWVD Designer",
         "home/Documents"},
        {"documents folder from user-dirs", "data", "XDG_DOCUMENTS_DIR=\"$HOME/Papers\"\n", "data/KWVD Designer",
         "home/Papers"},
    };

    int row = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ++row;
        UseRegistryFolder(QStringLiteral("registry-%1").arg(row));
        const QString home = m_dir.filePath(QStringLiteral("home"));
        if (!c.dataHome)
            m_dataHome.Unset();
        else if (QLatin1StringView(c.dataHome) == QLatin1StringView("relative"))
            m_dataHome.Set(QStringLiteral("relative"));
        else
            m_dataHome.Set(m_dir.filePath(QString::fromLatin1(c.dataHome)));
        const QString config = m_dir.filePath(QStringLiteral("config-%1").arg(row));
        ASSERT_TRUE(QDir().mkpath(config));
        m_configHome.Set(config);
        if (c.userDirs) {
            QFile dirs(config + QStringLiteral("/user-dirs.dirs"));
            ASSERT_TRUE(dirs.open(QIODevice::WriteOnly));
            dirs.write(c.userDirs);
        }

        CPreferences prefs;
        prefs.LoadPreferences();

        const QString data = m_dir.filePath(QString::fromLatin1(c.expectedData));
        const QString documents = m_dir.filePath(QString::fromLatin1(c.expectedDocuments));
        const QString base = documents + QStringLiteral("/KWVD Designer");
        EXPECT_EQ(prefs.ApplicationDataDirectory, data);
        EXPECT_TRUE(QFileInfo(data).isDir());
        EXPECT_EQ(Stored("Preferences", QStringLiteral("ApplicationDataDirectory")), RegistryValue::Text(data));

        EXPECT_EQ(prefs.DefaultDocDirectory, base);
        EXPECT_EQ(prefs.DefaultImageDirectory, base + QStringLiteral("/Images"));
        EXPECT_EQ(prefs.DefaultSpooledFileDirectory, base + QStringLiteral("/Spooled Files"));
        // The documents folder itself is made; the program's folders below
        // it are only defaults.
        EXPECT_TRUE(QFileInfo(documents).isDir());
        EXPECT_FALSE(QFileInfo::exists(base));
        // Written at exit, not at load.
        EXPECT_FALSE(Stored("Preferences", QStringLiteral("DefaultDocDirectory")));

        QDir(data).removeRecursively();
    }
}

TEST_F(PreferencesFixture, ProgramFolderIsWrittenAtOnceWithItsSeparator)
{
    CPreferences prefs;
    prefs.LoadPreferences();

    ASSERT_TRUE(prefs.ApplicationDirectory.endsWith(u'/'));
    // The folder is the one this test program runs from.
    const QString program = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    EXPECT_TRUE(QFileInfo(prefs.ApplicationDirectory + QFileInfo(program).fileName()).isFile())
        << program.toStdString();
    EXPECT_EQ(Stored("Preferences", QStringLiteral("ApplicationDirectory")),
              RegistryValue::Text(prefs.ApplicationDirectory));
}

TEST_F(PreferencesFixture, StoredFoldersAreTakenAsTheyStand)
{
    const QString data = m_dir.filePath(QStringLiteral("kept-data"));
    Store("Preferences", QStringLiteral("ApplicationDirectory"), RegistryValue::Text(u"/opt/kwvd/"));
    Store("Preferences", QStringLiteral("ApplicationDataDirectory"), RegistryValue::Text(data));
    Store("Preferences", QStringLiteral("DefaultImageDirectory"), RegistryValue::Text(u"/srv/images"));
    Store("Preferences", QStringLiteral("DefaultSpooledFileDirectory"), RegistryValue::Text(u"/srv/spool"));
    Store("Preferences", QStringLiteral("DefaultDocDirectory"), RegistryValue::Text(u"/srv/docs"));

    CPreferences prefs;
    prefs.LoadPreferences();

    EXPECT_EQ(prefs.ApplicationDirectory, QStringLiteral("/opt/kwvd/"));
    EXPECT_EQ(prefs.ApplicationDataDirectory, data);
    EXPECT_EQ(prefs.DefaultImageDirectory, QStringLiteral("/srv/images"));
    EXPECT_EQ(prefs.DefaultSpooledFileDirectory, QStringLiteral("/srv/spool"));
    EXPECT_EQ(prefs.DefaultDocDirectory, QStringLiteral("/srv/docs"));
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath(QStringLiteral("data/KWVD Designer"))));
}

// A data folder that cannot be made is not stored, so the next start tries
// again instead of pointing the master files at nothing for good.
TEST_F(PreferencesFixture, DataFolderThatCannotBeMadeIsNotStored)
{
    const QString blocker = m_dir.filePath(QStringLiteral("not-a-folder"));
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    m_dataHome.Set(blocker);

    CPreferences prefs;
    prefs.LoadPreferences();

    EXPECT_FALSE(Stored("Preferences", QStringLiteral("ApplicationDataDirectory")));
    EXPECT_TRUE(prefs.IsLoaded());
}
