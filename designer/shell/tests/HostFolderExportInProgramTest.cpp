// Export WVD by the file road in the running designer against the test's
// emulated host: the host's PCIN folder found by the system's name or its
// "Q" name, the folder kept in the host's form, and the automatic import
// through the host access library (the tests' stand-in, which has the
// emulated host run the call).

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/ExportChoice.h"
#include "designer/shell/tests/ProgramTestFixture.h"
#include "platform/clientaccess/HostSetup.h"
#include "platform/clientaccess/HostStore.h"
#include "tests/support/ScopedEmuhostStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <ostream>
#include <vector>

namespace {

using kwvd::clientaccess::HostSystem;

class HostFolderExportTest : public ProgramTest
{
protected:
    void Start(const QString& libraryFolder)
    {
        ASSERT_NO_FATAL_FAILURE(StartProgram({}, QSize(), libraryFolder));
        env.prompts->ClearRecorded();
        CPreferences& prefs = app->GetPreferences();
        prefs.ExportUsingSockets = FALSE;
        prefs.SetDefaultExportPath(QString());
        prefs.DefaultSystem = QStringLiteral("SYS");
        prefs.DefaultLibrary = QStringLiteral("KWVD");
        doc->SetTitle(QStringLiteral("report 7"));
        m_previousRunner = SetExportDialogRunner([this](ExportChoice& choice) {
            offered.push_back(choice);
            if (answers.empty())
                return false;
            choice.path = answers.front();
            choice.filterIndex = 14; // version 15
            answers.erase(answers.begin());
            return true;
        });
    }

    void TearDown() override
    {
        SetExportDialogRunner(m_previousRunner);
        ProgramTest::TearDown();
    }

    static void AddSystem(const QString& name, const QStringList& fileServers = {})
    {
        HostSystem system;
        system.name = name;
        system.ccsid = 285;
        system.userId = QStringLiteral("KWVDUSER");
        system.fileServerNames = fileServers;
        system.initialLibraries = {QStringLiteral("KWVD")};
        QString error;
        ASSERT_TRUE(kwvd::clientaccess::AddSystem(system, true, &error)) << error.toStdString();
        ASSERT_TRUE(kwvd::clientaccess::AddHostFolder(name, QStringLiteral("QDLS/KWVD/PCIN"), &error))
            << error.toStdString();
    }

    static QString Pcin(const QString& system)
    {
        return kwvd::clientaccess::IfsFolder(system) + QStringLiteral("/QDLS/KWVD/PCIN/");
    }

    static QString JobLog(const QString& system)
    {
        QFile log(kwvd::clientaccess::JobLogPath(system));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    ScopedEmuhostStore m_store;
    std::vector<ExportChoice> offered;
    std::vector<QString> answers;
    ExportDialogRunner m_previousRunner;
};

struct DefaultFolderCase
{
    const char* name;
    const char* systemName; // the emulated system, "" for none
    const char* fileServer; // its other name, "" for its own only
    bool toldToBrowse;
};

void PrintTo(const DefaultFolderCase& c, std::ostream* os)
{
    *os << c.name;
}

const DefaultFolderCase kDefaultFolderCases[] = {
    {"ByTheSystemsName", "SYS", "", false},
    {"ByItsQName", "OTHER", "QSYS", false},
    {"NeitherTellsTheUserToBrowse", "", "", true},
};

class DefaultExportFolderTable : public HostFolderExportTest, public ::testing::WithParamInterface<DefaultFolderCase>
{};

TEST_P(DefaultExportFolderTable, OfferedFolder)
{
    const DefaultFolderCase& c = GetParam();
    const QString system = QString::fromLatin1(c.systemName);
    if (!system.isEmpty()) {
        ASSERT_NO_FATAL_FAILURE(
            AddSystem(system, c.fileServer[0] ? QStringList{QString::fromLatin1(c.fileServer)} : QStringList{}));
    }
    ASSERT_NO_FATAL_FAILURE(Start(QString()));

    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_EXPORT_WVD));
    ASSERT_EQ(offered.size(), 1u) << c.name;
    if (c.toldToBrowse) {
        EXPECT_EQ(offered[0].initialFolder, QStringLiteral("\\\\SYS\\QDLS\\KWVD\\PCIN\\")) << c.name;
        EXPECT_EQ(env.MessageTexts(),
                  QStringList{QStringLiteral("You do not have a valid export path.  You need to browse to the "
                                             "KWVD/PCIN folder located on the Server \"SYS\" before you export your "
                                             "WVD file.")})
            << c.name;
    } else {
        EXPECT_EQ(QDir(offered[0].initialFolder).canonicalPath(), QDir(Pcin(system)).canonicalPath()) << c.name;
        EXPECT_TRUE(env.MessageTexts().isEmpty()) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(HostFolders, DefaultExportFolderTable, ::testing::ValuesIn(kDefaultFolderCases),
                         [](const ::testing::TestParamInfo<DefaultFolderCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(HostFolderExportTest, FolderKeptInTheHostsFormAndImportedThroughTheLibrary)
{
    ASSERT_NO_FATAL_FAILURE(AddSystem(QStringLiteral("SYS")));
    ASSERT_NO_FATAL_FAILURE(Start(QStringLiteral(KWVD_MERROW2_STUB_DIR)));
    answers.push_back(Pcin(QStringLiteral("SYS")) + QStringLiteral("REPORT7.jvx"));

    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_EXPORT_WVD));
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_TRUE(offered[0].offerAutoImport);
    EXPECT_TRUE(offered[0].autoImport);
    EXPECT_TRUE(QFile::exists(Pcin(QStringLiteral("SYS")) + QStringLiteral("REPORT7.jvx")));
    const CPreferences& prefs = app->GetPreferences();
    EXPECT_EQ(prefs.DefaultExportPath, QStringLiteral("\\\\SYS\\QDLS\\KWVD\\PCIN\\"));
    EXPECT_EQ(prefs.GetExportPathRoot(), QStringLiteral("\\\\SYS\\QDLS\\"));
    EXPECT_TRUE(JobLog(QStringLiteral("SYS")).contains(QStringLiteral("CALL PGM(KWVD/PCWVDCL) PARM(REPORT7 KWVD)")))
        << JobLog(QStringLiteral("SYS")).toStdString();
    EXPECT_TRUE(
        kwvd::clientaccess::WvdMemberExists(QStringLiteral("SYS"), QStringLiteral("KWVD"), QStringLiteral("REPORT7")));
    EXPECT_TRUE(doc->m_automaticImport);
    EXPECT_TRUE(env.MessageTexts().isEmpty()) << env.MessageTexts().join(u'|').toStdString();

    // The next export opens the folder the host's form names.
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_EXPORT_WVD));
    ASSERT_EQ(offered.size(), 2u);
    EXPECT_EQ(QDir(offered[1].initialFolder).canonicalPath(), QDir(Pcin(QStringLiteral("SYS"))).canonicalPath());
}

TEST_F(HostFolderExportTest, FolderOutsideTheHostStaysLocal)
{
    ASSERT_NO_FATAL_FAILURE(AddSystem(QStringLiteral("SYS")));
    ASSERT_NO_FATAL_FAILURE(Start(QString()));
    const QString local = env.folder.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(local));
    answers.push_back(local + QStringLiteral("/REPORT7.jvx"));
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_EXPORT_WVD));
    EXPECT_EQ(app->GetPreferences().DefaultExportPath, local + u'/');
}

TEST_F(HostFolderExportTest, WithoutTheLibraryNoAutoImportIsOfferedOrCalled)
{
    ASSERT_NO_FATAL_FAILURE(AddSystem(QStringLiteral("SYS")));
    ASSERT_NO_FATAL_FAILURE(Start(QString()));
    answers.push_back(Pcin(QStringLiteral("SYS")) + QStringLiteral("REPORT7.jvx"));
    EXPECT_TRUE(frame->ExecuteCommand(ID_FILE_EXPORT_WVD));
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_FALSE(offered[0].offerAutoImport);
    EXPECT_FALSE(offered[0].autoImport);
    EXPECT_TRUE(QFile::exists(Pcin(QStringLiteral("SYS")) + QStringLiteral("REPORT7.jvx")));
    EXPECT_FALSE(JobLog(QStringLiteral("SYS")).contains(QStringLiteral("PCWVDCL")));
    EXPECT_FALSE(doc->m_automaticImport);
}

} // namespace
