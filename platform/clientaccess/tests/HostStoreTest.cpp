#include "EmulatedHostFixture.h"

#include <QDir>

#include <thread>

using namespace kwvd::clientaccess;

TEST(HostStoreRoot, TheVariableElseTheXdgDataFolder)
{
    ScopedEnv emuhost("KWVD_EMUHOST");
    ScopedEnv xdg("XDG_DATA_HOME");
    emuhost.Set(QStringLiteral("/srv/host//store/"));
    xdg.Set(QStringLiteral("/data"));
    EXPECT_EQ(StoreRoot(), QStringLiteral("/srv/host/store"));
    emuhost.Unset();
    EXPECT_EQ(StoreRoot(), QStringLiteral("/data/kwvd-emuhost"));
    // A relative XDG folder is no folder at all.
    xdg.Set(QStringLiteral("relative"));
    EXPECT_EQ(StoreRoot(), QDir::homePath() + QStringLiteral("/.local/share/kwvd-emuhost"));
}

using HostStore = EmulatedHost;

TEST_F(HostStore, AMissingStoreIsEmptyAndNothingIsCreatedByReading)
{
    ScopedEnv emuhost("KWVD_EMUHOST", m_store.FilePath(QStringLiteral("not-yet")));
    EXPECT_FALSE(StoreExists());
    const auto state = ReadStore();
    ASSERT_TRUE(state);
    EXPECT_TRUE(state->systems.empty());
    EXPECT_EQ(DefaultSystem(*state), nullptr);
    EXPECT_FALSE(QFileInfo::exists(StoreRoot()));
}

TEST_F(HostStore, ExistingComponentsAreMatchedWithoutRegardToCase)
{
    Add(System(QStringLiteral("KWVDSYS")));
    HostFile(QStringLiteral("KWVDSYS"), QStringLiteral("QDLS/Kwvd/PCIN/a.jvx"), "x");
    const QString ifs = IfsFolder(QStringLiteral("KWVDSYS"));
    struct Case
    {
        const char* name;
        QStringList components;
        QString expected;
        bool exists;
    };
    const Case cases[] = {
        {"all exist", {"qdls", "KWVD", "pcin", "A.JVX"}, ifs + "/QDLS/Kwvd/PCIN/a.jvx", true},
        {"new name kept as given", {"QDLS", "kwvd", "New.JVX"}, ifs + "/QDLS/Kwvd/New.JVX", false},
        {"below a new folder", {"qdls", "Other", "PCIN"}, ifs + "/QDLS/Other/PCIN", false},
        {"empty components skipped", {"QDLS", "", "KWVD"}, ifs + "/QDLS/Kwvd", true},
        {"climbing refused", {"QDLS", "..", "..", "store.json"}, QString(), false},
        {"dot refused", {"QDLS", "."}, QString(), false},
    };
    for (const Case& c : cases) {
        bool exists = !c.exists;
        EXPECT_EQ(ResolveIgnoringCase(ifs, c.components, &exists), c.expected) << c.name;
        EXPECT_EQ(exists, c.exists) << c.name;
    }
}

TEST_F(HostStore, LibrariesAreFoldersOfQsysLib)
{
    Add(System(QStringLiteral("KWVDSYS")));
    EXPECT_FALSE(LibraryExists(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD")));
    Library(QStringLiteral("KWVDSYS"), QStringLiteral("kwvd"));
    EXPECT_TRUE(QFileInfo(m_store.FilePath(QStringLiteral("KWVDSYS/ifs/QSYS.LIB/KWVD.LIB"))).isDir());
    EXPECT_TRUE(LibraryExists(QStringLiteral("KWVDSYS"), QStringLiteral("Kwvd")));
    QString error;
    EXPECT_FALSE(AddLibrary(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"), &error));
    EXPECT_FALSE(AddLibrary(QStringLiteral("KWVDSYS"), QStringLiteral("1BAD"), &error));
    EXPECT_FALSE(AddLibrary(QStringLiteral("KWVDSYS"), QStringLiteral("../X"), &error));
    EXPECT_FALSE(AddLibrary(QStringLiteral("NOSYS"), QStringLiteral("KWVD"), &error));
    EXPECT_EQ(error, QStringLiteral("system NOSYS is not configured"));
}

TEST_F(HostStore, ChangesFromManyThreadsAreAllKept)
{
    // Each change reads the store afresh under the lock; a lost update
    // would drop a system.
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([t] {
            for (int i = 0; i < 10; ++i) {
                QString error;
                auto system = EmulatedHost::System(QStringLiteral("S%1X%2").arg(t).arg(i));
                EXPECT_TRUE(AddSystem(system, false, &error)) << error.toStdString();
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    const auto state = ReadStore();
    ASSERT_TRUE(state);
    EXPECT_EQ(state->systems.size(), 40u);
}

TEST_F(HostStore, EverythingSurvivesARoundTripThroughTheFile)
{
    auto system = System(QStringLiteral("KWVDSYS"), 0, QStringLiteral("jsmith"));
    system.reachable = false;
    system.refusesSignon = true;
    system.fileServerNames = {QStringLiteral("QKWVDSYS"), QStringLiteral("KWVD.example")};
    system.initialLibraries = {QStringLiteral("qgpl"), QStringLiteral("KWVD")};
    Add(system);
    QString error;
    ASSERT_TRUE(AddProgram(QStringLiteral("KWVDSYS"),
                           {QStringLiteral("kwvd"),
                            QStringLiteral("fax"),
                            QStringLiteral("/bin/fake"),
                            {QStringLiteral("--fixture"), QStringLiteral("a b")}},
                           &error));
    const auto state = ReadStore();
    ASSERT_TRUE(state);
    ASSERT_EQ(state->systems.size(), 1u);
    const HostSystem& read = state->systems.front();
    EXPECT_EQ(read.ccsid, 0u);
    EXPECT_EQ(read.userId, QStringLiteral("JSMITH"));
    EXPECT_FALSE(read.reachable);
    EXPECT_TRUE(read.refusesSignon);
    EXPECT_EQ(read.FileServerNames(), system.fileServerNames);
    EXPECT_EQ(read.initialLibraries, (QStringList{QStringLiteral("QGPL"), QStringLiteral("KWVD")}));
    ASSERT_EQ(read.programs.size(), 1u);
    EXPECT_EQ(read.programs[0].library, QStringLiteral("KWVD"));
    EXPECT_EQ(read.programs[0].program, QStringLiteral("FAX"));
    EXPECT_EQ(read.programs[0].arguments, (QStringList{QStringLiteral("--fixture"), QStringLiteral("a b")}));
    EXPECT_EQ(state->defaultSystem, QStringLiteral("KWVDSYS"));
}

TEST_F(HostStore, DamagedFilesAreRefused)
{
    struct Case
    {
        const char* name;
        QByteArray bytes;
    };
    const Case cases[] = {
        {"not json", "KWVD"},
        {"cut short", "{\"format\": 1, \"systems\": [{\"name\": \"A\""},
        {"another format", "{\"format\": 2, \"systems\": []}"},
        {"a system without a name", "{\"format\": 1, \"systems\": [{}]}"},
        {"a name with a separator", "{\"format\": 1, \"systems\": [{\"name\": \"../X\"}]}"},
        {"a negative CCSID", "{\"format\": 1, \"systems\": [{\"name\": \"A\", \"ccsid\": -1}]}"},
        {"a CCSID too large", "{\"format\": 1, \"systems\": [{\"name\": \"A\", \"ccsid\": 70000}]}"},
    };
    for (const Case& c : cases) {
        QFile file(m_store.FilePath(QStringLiteral("store.json")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(c.bytes);
        file.close();
        QString error;
        EXPECT_FALSE(ReadStore(&error)) << c.name;
        EXPECT_FALSE(error.isEmpty()) << c.name;
        EXPECT_FALSE(ChangeStore([](StoreState&) { return true; }, &error)) << c.name;
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), c.bytes) << c.name << ": the damaged file stays for a person to look at";
        file.close();
    }
}

TEST_F(HostStore, AFaultThatFailsWithSuccessIsNone)
{
    QFile file(m_store.FilePath(QStringLiteral("store.json")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(R"({"format": 1, "systems": [], "faults": [
        {"operation": "cwbNL_Convert", "code": 0},
        {"operation": "cwbRC_RunCmd", "code": 8007}]})");
    file.close();
    const std::optional<StoreState> state = ReadStore();
    ASSERT_TRUE(state);
    ASSERT_EQ(state->faults.size(), 1u);
    EXPECT_EQ(state->faults[0].operation, QStringLiteral("cwbRC_RunCmd"));
    EXPECT_EQ(state->faults[0].code, 8007u);
}
