#include "platform/clientaccess/hostfolders/HostFolders.h"

#include "platform/clientaccess/tests/EmulatedHostFixture.h"

using namespace kwvd::clientaccess;
using namespace kwvd::hostfolders;

namespace {

class HostFolders : public EmulatedHost
{
protected:
    void SetUp() override
    {
        auto system = System(QStringLiteral("KWVDSYS"));
        system.fileServerNames = {QStringLiteral("QKWVDSYS")};
        Add(system);
        Add(System(QStringLiteral("Other")));
        Library(QStringLiteral("KWVDSYS"), QStringLiteral("KWVD"));
        HostFile(QStringLiteral("KWVDSYS"), QStringLiteral("QDLS/Kwvd/PCIN/REGPCUSR.LOG"), "PC1,AAAAAA;");
        m_ifs = IfsFolder(QStringLiteral("KWVDSYS"));
    }

    QString m_ifs;
};

} // namespace

TEST_F(HostFolders, HostPathsMapIntoTheSystemsFileSystem)
{
    struct Case
    {
        const char* name;
        const char* host;
        QString local; // relative to KWVDSYS's file system; null: no mapping
    };
    const Case cases[] = {
        {"existing file, any case", "\\\\kwvdsys\\qdls\\KWVD\\pcin\\regpcusr.log", "/QDLS/Kwvd/PCIN/REGPCUSR.LOG"},
        {"folder with closing separator", "\\\\KWVDSYS\\QDLS\\KWVD\\PCIN\\", "/QDLS/Kwvd/PCIN/"},
        {"forward separators", "//KWVDSYS/QDLS/KWVD/PCIN/INVOICE.jvx", "/QDLS/Kwvd/PCIN/INVOICE.jvx"},
        {"mixed separators", "\\\\KWVDSYS/QDLS\\kwvd/New/", "/QDLS/Kwvd/New/"},
        {"file-server name", "\\\\QKWVDSYS\\QDLS\\KWVD\\PCIN\\", "/QDLS/Kwvd/PCIN/"},
        {"file-server name alone", "\\\\qkwvdsys", ""},
        {"system alone with separator", "\\\\KWVDSYS\\", "/"},
        {"library exists", "\\\\KWVDSYS\\QSYS.LIB\\kwvd.lib", "/QSYS.LIB/KWVD.LIB"},
        {"library that does not", "\\\\KWVDSYS\\QSYS.LIB\\NOLIB.LIB", "/QSYS.LIB/NOLIB.LIB"},
        {"unknown system", "\\\\NOSYS\\QDLS\\KWVD", QString()},
        {"climbing out", "\\\\KWVDSYS\\QDLS\\..\\..\\store.json", QString()},
        {"no system named", "\\\\", QString()},
        {"not a host path", "C:\\QDLS\\KWVD", QString()},
        {"a local path", "/QDLS/KWVD", QString()},
    };
    for (const Case& c : cases) {
        const QString expected = c.local.isNull() ? QString() : m_ifs + c.local;
        EXPECT_EQ(LocalPathOfHostPath(QString::fromUtf8(c.host)), expected) << c.name;
    }
    EXPECT_EQ(LocalPathOfHostPath(QStringLiteral("\\\\other\\QDLS")), IfsFolder(QStringLiteral("Other")) + "/QDLS");
}

TEST_F(HostFolders, TheLibraryPathExistsExactlyWhenTheLibraryDoes)
{
    // What the installer's library check asks of the file system.
    EXPECT_TRUE(QFileInfo::exists(LocalPathOfHostPath(QStringLiteral("\\\\KWVDSYS\\QSYS.LIB\\KWVD.LIB"))));
    EXPECT_FALSE(QFileInfo::exists(LocalPathOfHostPath(QStringLiteral("\\\\KWVDSYS\\QSYS.LIB\\QGPL.LIB"))));
    Library(QStringLiteral("KWVDSYS"), QStringLiteral("QGPL"));
    EXPECT_TRUE(QFileInfo::exists(LocalPathOfHostPath(QStringLiteral("\\\\KWVDSYS\\QSYS.LIB\\QGPL.LIB"))));
}

TEST_F(HostFolders, LocalPathsMapBackToTheSystemsName)
{
    struct Case
    {
        const char* name;
        QString local;
        const char* host; // empty: none
    };
    const Case cases[] = {
        {"a file", m_ifs + "/QDLS/Kwvd/PCIN/REGPCUSR.LOG", "\\\\KWVDSYS\\QDLS\\Kwvd\\PCIN\\REGPCUSR.LOG"},
        {"a folder with closing separator", m_ifs + "/QDLS/Kwvd/", "\\\\KWVDSYS\\QDLS\\Kwvd\\"},
        {"the file system itself", m_ifs, "\\\\KWVDSYS"},
        {"dots collapsed", m_ifs + "/QDLS/./Kwvd/../Kwvd", "\\\\KWVDSYS\\QDLS\\Kwvd"},
        {"another system", IfsFolder(QStringLiteral("Other")) + "/QSYS.LIB", "\\\\Other\\QSYS.LIB"},
        {"the system folder, not its file system", SystemFolder(QStringLiteral("KWVDSYS")) + "/joblog.txt", ""},
        {"a name that only begins like it", m_ifs + "x/QDLS", ""},
        {"outside the store", QStringLiteral("/tmp/QDLS"), ""},
        {"empty", QString(), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HostPathOfLocalPath(c.local).toStdString(), c.host) << c.name;

    // Both directions agree.
    const QString host = QStringLiteral("\\\\KWVDSYS\\QDLS\\Kwvd\\PCIN\\REGPCUSR.LOG");
    EXPECT_EQ(HostPathOfLocalPath(LocalPathOfHostPath(QStringLiteral("\\\\qkwvdsys\\qdls\\kwvd\\pcin\\regpcusr.log"))),
              host);
}
