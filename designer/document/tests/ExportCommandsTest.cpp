// Export WVD by the file road, Import WVD, the export folder with its host
// folders, and the emptying of a scratch folder.

#include "designer/document/ExportChoice.h"
#include "designer/document/ExportFolder.h"
#include "designer/preferences/Preferences.h"
#include "platform/ui/FileFilter.h"
#include "tests/support/WvdDocumentFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <utility>
#include <vector>

namespace {

// Installs a runner for one test and puts the one before back.
class ScopedExportDialog
{
public:
    explicit ScopedExportDialog(ExportDialogRunner runner) : m_previous(SetExportDialogRunner(std::move(runner))) {}
    ~ScopedExportDialog() { SetExportDialogRunner(std::move(m_previous)); }
    ScopedExportDialog(const ScopedExportDialog&) = delete;
    ScopedExportDialog& operator=(const ScopedExportDialog&) = delete;

private:
    ExportDialogRunner m_previous;
};

class ScopedHostFolders
{
public:
    explicit ScopedHostFolders(std::map<QString, QString> folders)
        : m_previous(SetHostFolderMapping([folders](const QString& host) {
              const auto it = folders.find(host);
              return it == folders.end() ? QString() : it->second;
          }))
    {}
    ~ScopedHostFolders() { SetHostFolderMapping(std::move(m_previous)); }
    ScopedHostFolders(const ScopedHostFolders&) = delete;
    ScopedHostFolders& operator=(const ScopedHostFolders&) = delete;

private:
    HostFolderMapping m_previous;
};

// What the user does in one showing of the export dialog.
struct DialogAnswer
{
    QString path; // empty: Cancel
    int filterIndex = 1;
    bool overwrite = false;
    // As offered when not given.
    std::optional<bool> autoImport{};
};

// The export dialog as a script: each showing records what it offered and
// answers with the next step.
class ScriptedExportDialog
{
public:
    explicit ScriptedExportDialog(std::vector<DialogAnswer> answers)
        : m_answers(std::move(answers)), m_scope([this](ExportChoice& choice) { return Show(choice); })
    {}

    std::vector<ExportChoice> offered;
    // DefaultJVXVersion as each showing found it.
    std::vector<int> storedVersion;

private:
    bool Show(ExportChoice& choice)
    {
        offered.push_back(choice);
        storedVersion.push_back(Preferences().DefaultJVXVersion);
        if (offered.size() > m_answers.size() || m_answers[offered.size() - 1].path.isEmpty())
            return false;
        const DialogAnswer& answer = m_answers[offered.size() - 1];
        choice.path = answer.path;
        choice.filterIndex = answer.filterIndex;
        choice.overwrite = answer.overwrite;
        if (answer.autoImport)
            choice.autoImport = *answer.autoImport;
        return true;
    }

    std::vector<DialogAnswer> m_answers;
    ScopedExportDialog m_scope;
};

class ExportCommandTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(doc.OnNewDocument());
        doc.SetTitle(QStringLiteral("report 7"));
        env.prefs.DefaultJVXVersion = 28;
        env.prefs.SetDefaultExportPath(Path("out"));
        ASSERT_TRUE(QDir().mkpath(Path("out")));
    }

    QString Path(const QString& name) const { return env.folder.filePath(name); }

    static QByteArray Read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // The version a JVX file says it was written in: three digits after
    // "JVX", EBCDIC in the host's versions, ASCII in the oldest.
    static int VersionInFile(const QString& path)
    {
        const QByteArray head = Read(path).left(6);
        if (head.size() < 6)
            return -1;
        int version = 0;
        for (int i = 3; i < 6; ++i) {
            const auto byte = static_cast<unsigned char>(head[i]);
            version = version * 10 + (byte >= 0xF0 ? byte - 0xF0 : byte - '0');
        }
        return version;
    }

    static bool Exists(const QString& path) { return QFileInfo::exists(path); }

    WvdTestEnvironment env;
    CDesignerDoc doc;
};

TEST_F(ExportCommandTest, TitleGivesTheProposedMemberAndTheOfferedDialog)
{
    ScriptedExportDialog dialog({});
    env.prefs.DefaultJVXVersion = 3; // below the oldest: clamped
    doc.m_replaceWithoutAsking = TRUE;
    doc.OnExportWvd();

    ASSERT_EQ(dialog.offered.size(), 1u);
    const ExportChoice& offered = dialog.offered[0];
    EXPECT_EQ(offered.title, QStringLiteral("Export WVD"));
    EXPECT_EQ(offered.fileName, QStringLiteral("REPORT7.jvx"));
    EXPECT_EQ(offered.defaultExtension, QStringLiteral("jvx"));
    EXPECT_EQ(QDir(offered.initialFolder), QDir(Path("out")));
    EXPECT_EQ(offered.filterIndex, 24); // version 5
    EXPECT_TRUE(offered.overwrite);
    EXPECT_FALSE(offered.offerAutoImport);
    EXPECT_FALSE(offered.autoImport);
    EXPECT_TRUE(env.prompts->Recorded().empty());
}

TEST_F(ExportCommandTest, WvdNameWinsOverTheTitle)
{
    ScriptedExportDialog dialog({});
    doc.WvdName().SetValue(QStringLiteral("invoice"));
    doc.OnExportWvd();
    ASSERT_EQ(dialog.offered.size(), 1u);
    EXPECT_EQ(dialog.offered[0].fileName, QStringLiteral("INVOICE.jvx"));
}

TEST_F(ExportCommandTest, AllFilesExportsTheNewestVersion)
{
    const QString path = Path("out/REPORT7.jvx");
    ScriptedExportDialog dialog({{path, kExportFilterCount, false}});
    env.prefs.DefaultJVXVersion = 12;
    doc.OnExportWvd();

    ASSERT_TRUE(Exists(path));
    EXPECT_EQ(VersionInFile(path), 28);
    EXPECT_EQ(env.prefs.DefaultJVXVersion, 28);
    EXPECT_EQ(doc.WvdName().GetValue().trimmed(), QStringLiteral("REPORT7"));
}

TEST_F(ExportCommandTest, NoToReplaceShowsTheDialogAgainWithTheChoicesKept)
{
    const QString path = Path("out/REPORT7.jvx");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    // Version 9 is entry 20.
    ScriptedExportDialog dialog({{path, 20, false}, {path, 20, true}});
    env.prompts->AnswerMessageBox(IDNO);
    doc.OnExportWvd();

    ASSERT_EQ(dialog.offered.size(), 2u);
    EXPECT_EQ(dialog.offered[1].filterIndex, 20);
    EXPECT_FALSE(dialog.offered[1].overwrite);
    EXPECT_EQ(dialog.storedVersion[1], 9);
    ASSERT_EQ(env.prompts->Recorded().size(), 1u);
    const RecordedPrompt& question = env.prompts->Recorded()[0];
    EXPECT_EQ(question.text, QStringLiteral("File \"%1\" already exists.\nDo you want to replace it ?").arg(path));
    EXPECT_EQ(question.Buttons(), MB_YESNO);
    EXPECT_EQ(question.Icon(), MB_ICONEXCLAMATION);
    // The second showing overwrites: version 9 written and kept.
    EXPECT_EQ(VersionInFile(path), 9);
    EXPECT_EQ(env.prefs.DefaultJVXVersion, 9);
}

TEST_F(ExportCommandTest, OverwriteChosenReplacesWithoutAskingAndIsRemembered)
{
    const QString path = Path("out/REPORT7.jvx");
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ScriptedExportDialog dialog({{path, 1, true}});
    doc.OnExportWvd();
    EXPECT_TRUE(env.prompts->Recorded().empty());
    EXPECT_NE(Read(path), QByteArray("old"));
    EXPECT_TRUE(doc.m_replaceWithoutAsking);
    EXPECT_FALSE(doc.m_automaticImport);
}

TEST_F(ExportCommandTest, YesToInvalidNameRenamesOnlyTheFile)
{
    // The folder bears the old name too; it must stay as it is.
    ASSERT_TRUE(QDir().mkpath(Path("out/report 7")));
    const QString chosen = Path("out/report 7/report 7.jvx");
    ScriptedExportDialog dialog({{chosen, 1, false}});
    env.prompts->AnswerMessageBox(IDYES);
    doc.OnExportWvd();

    ASSERT_EQ(env.prompts->Recorded().size(), 1u);
    const RecordedPrompt& question = env.prompts->Recorded()[0];
    EXPECT_EQ(question.text, QStringLiteral("The Filename report 7 is invalid. Would you like to change it to REPORT7 "
                                            "?\nValid names must begin with a letter and be less than 9 characters in "
                                            "length."));
    EXPECT_EQ(question.Icon(), MB_ICONEXCLAMATION);
    EXPECT_TRUE(Exists(Path("out/report 7/REPORT7.jvx")));
    EXPECT_FALSE(Exists(chosen));
    EXPECT_EQ(QDir(env.prefs.DefaultExportPath), QDir(Path("out/report 7")));
}

TEST_F(ExportCommandTest, NoToInvalidNameShowsTheDialogAgain)
{
    ScriptedExportDialog dialog({{Path("out/2024 Report.jvx"), 3, true}, {}});
    env.prompts->AnswerMessageBox(IDNO);
    doc.OnExportWvd();
    ASSERT_EQ(dialog.offered.size(), 2u);
    EXPECT_EQ(dialog.offered[1].filterIndex, 3);
    EXPECT_TRUE(dialog.offered[1].overwrite);
    EXPECT_TRUE(QDir(Path("out")).entryList(QDir::Files).isEmpty());
}

TEST_F(ExportCommandTest, RenamedFileThatExistsIsNotReplacedUnasked)
{
    const QString existing = Path("out/REPORT7.jvx");
    {
        QFile old(existing);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ScriptedExportDialog dialog({{Path("out/report 7.jvx"), 1, false}, {}});
    env.prompts->AnswerMessageBox(IDYES); // take REPORT7
    env.prompts->AnswerMessageBox(IDNO);  // but do not replace it
    doc.OnExportWvd();
    EXPECT_EQ(env.prompts->Recorded().size(), 2u);
    EXPECT_EQ(dialog.offered.size(), 2u);
    EXPECT_EQ(Read(existing), QByteArray("old"));
}

TEST_F(ExportCommandTest, FailedExportStillRemembersTheFolder)
{
    // A folder in the file's place: the writer cannot put the file there.
    ASSERT_TRUE(QDir().mkpath(Path("elsewhere/REPORT7.jvx")));
    ScriptedExportDialog dialog({{Path("elsewhere/REPORT7.jvx"), 1, true}});
    doc.m_replaceWithoutAsking = FALSE;
    doc.OnExportWvd();
    EXPECT_EQ(QDir(env.prefs.DefaultExportPath), QDir(Path("elsewhere")));
    EXPECT_FALSE(env.prompts->Recorded().empty()); // the writer's own message
    EXPECT_FALSE(doc.m_replaceWithoutAsking);      // only a success remembers the choice
}

TEST_F(ExportCommandTest, ImportOffersTheChooserAgainAfterAFailure)
{
    const QString good = Path("out/REPORT7.jvx");
    QString member = QStringLiteral("REPORT7");
    doc.Description().SetValue(QStringLiteral("Invoices"));
    ASSERT_TRUE(doc.ExportJVXFile(good, member, 28));
    const QString broken = Path("elsewhere/BROKEN.JVX");
    ASSERT_TRUE(QDir().mkpath(Path("elsewhere")));
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a jvx file");
    }
    env.prefs.SetDefaultExportPath(Path("elsewhere"));

    CDesignerDoc reader;
    ASSERT_TRUE(reader.OnNewDocument());
    env.prompts->ClearRecorded();
    env.prompts->AnswerFile(broken);
    env.prompts->AnswerMessageBox(IDOK);
    env.prompts->AnswerFile(good);
    reader.OnImportFromServer();

    std::vector<const RecordedPrompt*> choosers;
    for (const RecordedPrompt& p : env.prompts->Recorded())
        if (p.kind == PromptKind::OpenFile)
            choosers.push_back(&p);
    ASSERT_EQ(choosers.size(), 2u);
    EXPECT_EQ(QDir(choosers[0]->file.initialFolder), QDir(Path("elsewhere")));
    const std::vector<FileFilter> filters = ParseFileFilter(choosers[0]->file.filter);
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].description, QStringLiteral("WVD Export Files"));
    EXPECT_EQ(filters[0].patterns, QStringList{QStringLiteral("*.jvx")});
    EXPECT_EQ(filters[1].patterns, QStringList{QStringLiteral("*.*")});
    EXPECT_EQ(reader.Description().GetValue().trimmed(), QStringLiteral("Invoices"));
    EXPECT_EQ(QDir(env.prefs.DefaultExportPath), QDir(Path("out")));
}

TEST_F(ExportCommandTest, XmlImportOffersTheChooserAgainThenRevalidatesAndTellsTheViews)
{
    ASSERT_TRUE(doc.SetDocType(1));
    const QString broken = Path("broken.xml");
    const QString good = Path("order.xml");
    for (const auto& [file, text] : {std::pair{broken, "<order><item>"}, std::pair{good, "<order><item/></order>"}}) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(text);
    }
    struct HintRecorder : DocumentChangeListener
    {
        void OnDocumentChanged(LPARAM hint, CObject*, CObject*) override { hints.push_back(hint); }
        std::vector<LPARAM> hints;
    } recorder;
    doc.AddChangeListener(&recorder);
    doc.SetModifiedFlag(FALSE);
    env.prompts->AnswerFile(broken);
    env.prompts->AnswerMessageBox(IDOK);
    env.prompts->AnswerFile(good);
    doc.OnImportXml();
    doc.RemoveChangeListener(&recorder);

    int choosers = 0;
    for (const RecordedPrompt& p : env.prompts->Recorded())
        choosers += p.kind == PromptKind::OpenFile ? 1 : 0;
    EXPECT_EQ(choosers, 2);
    EXPECT_EQ(env.prompts->PendingAnswers(), 0);
    EXPECT_FALSE(doc.GetElementList().IsEmpty());
    EXPECT_TRUE(doc.IsModified());
    EXPECT_NE(std::find(recorder.hints.begin(), recorder.hints.end(), LPARAM{DocumentHint::OptionsChanged}),
              recorder.hints.end());
}

TEST(ExportFilter, EntriesStandForVersions)
{
    const std::vector<FileFilter> filters = ParseFileFilter(ExportFilter());
    ASSERT_EQ(static_cast<int>(filters.size()), kExportFilterCount);
    EXPECT_EQ(kExportFilterCount, 25);
    EXPECT_EQ(filters.front().description, QStringLiteral("WVD Export Files"));
    EXPECT_EQ(filters[1].description, QStringLiteral("WVD Export Files (Version 27)"));
    EXPECT_EQ(filters[23].description, QStringLiteral("WVD Export Files (Version 5)"));
    EXPECT_EQ(filters.back().description, QStringLiteral("All Files"));
    EXPECT_EQ(filters.back().patterns, QStringList{QStringLiteral("*.*")});

    struct Case
    {
        int index;
        int version;
    };
    const Case cases[] = {{1, 28}, {2, 27}, {20, 9}, {24, 5}, {25, 28}, {0, 28}, {26, 28}, {-1, 28}};
    for (const Case& c : cases)
        EXPECT_EQ(ExportVersionForFilterIndex(c.index), c.version) << "entry " << c.index;
    for (int version = 5; version <= 28; ++version)
        EXPECT_EQ(ExportVersionForFilterIndex(ExportFilterIndexForVersion(version)), version) << "version " << version;
    EXPECT_EQ(ExportFilterIndexForVersion(0), 24);
    EXPECT_EQ(ExportFilterIndexForVersion(40), 1);
}

// ---------------------------------------------------------------- export folder

struct FolderCase
{
    const char* name;
    const char* preference;
    std::vector<const char*> reachable; // host forms that map onto existing folders
    const char* expected;               // relative to the test folder, or the host form
    bool told;                          // message 307
};

void PrintTo(const FolderCase& c, std::ostream* os)
{
    *os << c.name;
}

class DefaultExportFolderTest : public ::testing::TestWithParam<FolderCase>
{
protected:
    WvdTestEnvironment env;
};

TEST_P(DefaultExportFolderTest, PreferenceThenSystemThenQSystemThenMessage)
{
    const FolderCase& c = GetParam();
    env.prefs.DefaultSystem = QStringLiteral("SYS");
    env.prefs.DefaultLibrary = QStringLiteral("LIB");
    env.prefs.SetDefaultExportPath(c.preference[0] ? env.folder.filePath(QString::fromLatin1(c.preference))
                                                   : QString());
    std::map<QString, QString> folders;
    for (const char* host : c.reachable) {
        const QString local = env.folder.filePath(QString::fromLatin1(host).remove(u'\\'));
        ASSERT_TRUE(QDir().mkpath(local));
        folders[QString::fromLatin1(host)] = local;
    }
    // A mapped folder that does not exist cannot be entered.
    folders[QStringLiteral("\\\\MISSING\\QDLS\\LIB\\PCIN\\")] = env.folder.filePath(QStringLiteral("nowhere"));
    ScopedHostFolders mapping(folders);

    QString folder;
    GetDefaultExportFolder(folder);

    const QString expected = QString::fromLatin1(c.expected);
    if (expected.startsWith(u'\\'))
        EXPECT_EQ(folder, expected);
    else
        EXPECT_EQ(QDir(folder), QDir(env.folder.filePath(expected)));
    if (c.told) {
        ASSERT_EQ(env.prompts->Recorded().size(), 1u);
        const RecordedPrompt& told = env.prompts->Recorded()[0];
        EXPECT_EQ(told.text, QStringLiteral("You do not have a valid export path.  You need to browse to the "
                                            "KWVD/PCIN folder located on the Server \"SYS\" before you export your "
                                            "WVD file."));
        EXPECT_EQ(told.Icon(), MB_ICONINFORMATION);
    } else {
        EXPECT_TRUE(env.prompts->Recorded().empty());
    }
}

const FolderCase kFolderCases[] = {
    {"PreferenceFirst", "chosen", {"\\\\SYS\\QDLS\\LIB\\PCIN\\"}, "chosen", false},
    {"SystemFolder", "", {"\\\\SYS\\QDLS\\LIB\\PCIN\\", "\\\\QSYS\\QDLS\\LIB\\PCIN\\"}, "SYSQDLSLIBPCIN", false},
    {"QSystemFolder", "", {"\\\\QSYS\\QDLS\\LIB\\PCIN\\"}, "QSYSQDLSLIBPCIN", false},
    {"NothingReachable", "", {}, "\\\\SYS\\QDLS\\LIB\\PCIN\\", true},
};
INSTANTIATE_TEST_SUITE_P(Folders, DefaultExportFolderTest, ::testing::ValuesIn(kFolderCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DefaultExportFolder, NothingMapsUntilAMappingIsInstalled)
{
    EXPECT_TRUE(MapHostFolder(QStringLiteral("\\\\SYS\\QDLS\\LIB\\PCIN\\")).isEmpty());
}

// ---------------------------------------------------------------- automatic import

// The host program calls made through the host access library, as
// "system|program|parameters", for one test.
class ScopedRemoteCalls
{
public:
    ScopedRemoteCalls()
        : m_previous(
            SetRemoteProgramCaller([this](const QString& system, const QString& program, const QString& parameters) {
                calls << system + u'|' + program + u'|' + parameters;
            }))
    {}
    ~ScopedRemoteCalls() { SetRemoteProgramCaller(std::move(m_previous)); }
    ScopedRemoteCalls(const ScopedRemoteCalls&) = delete;
    ScopedRemoteCalls& operator=(const ScopedRemoteCalls&) = delete;

    QStringList calls;

private:
    RemoteProgramCaller m_previous;
};

struct AutoImportCase
{
    const char* name;
    bool libraryLoaded;
    const char* file; // below the test's folder
    int filterIndex;
    std::optional<bool> chosen; // the user's "Auto Import", as offered when not given
    const char* call;           // "" for none
};

void PrintTo(const AutoImportCase& c, std::ostream* os)
{
    *os << c.name;
}

class AutoImportTest : public ExportCommandTest, public ::testing::WithParamInterface<AutoImportCase>
{};

TEST_P(AutoImportTest, ImportProgramCall)
{
    const AutoImportCase& c = GetParam();
    env.prefs.SetServerAccessLoaded(c.libraryLoaded ? TRUE : FALSE);
    env.prefs.DefaultSystem = QStringLiteral("SYS");
    env.prefs.DefaultLibrary = QStringLiteral("LIB");
    ScopedRemoteCalls remote;
    ScriptedExportDialog dialog({{Path(QString::fromLatin1(c.file)), c.filterIndex, false, c.chosen}});
    doc.OnExportWvd();

    ASSERT_EQ(dialog.offered.size(), 1u) << c.name;
    EXPECT_EQ(dialog.offered[0].offerAutoImport, c.libraryLoaded) << c.name;
    EXPECT_EQ(dialog.offered[0].autoImport, c.libraryLoaded) << c.name;
    const QStringList expected = c.call[0] ? QStringList{QString::fromLatin1(c.call)} : QStringList{};
    EXPECT_EQ(remote.calls, expected) << c.name;
    if (!expected.isEmpty()) {
        EXPECT_GE(env.prompts->WaitCursorShowCount(), 1) << c.name;
    }
}

const AutoImportCase kAutoImportCases[] = {
    {"VersionSevenNamesTheMemberOnly", true, "out/REPORT7.jvx", 22, std::nullopt, "SYS|LIB/PCWVDCL|REPORT7"},
    {"VersionEightNamesTheLibraryToo", true, "out/REPORT7.jvx", 21, std::nullopt, "SYS|LIB/PCWVDCL|REPORT7 LIB"},
    {"TurnedOffByTheUser", true, "out/REPORT7.jvx", 21, false, ""},
    {"NeverWithoutTheLibrary", false, "out/REPORT7.jvx", 21, std::nullopt, ""},
    {"NotAfterAFailedExport", true, "missing/REPORT7.jvx", 21, std::nullopt, ""},
};
INSTANTIATE_TEST_SUITE_P(AutoImport, AutoImportTest, ::testing::ValuesIn(kAutoImportCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ExportCommandTest, ChoicesAreRememberedAfterAnExport)
{
    env.prefs.SetServerAccessLoaded(TRUE);
    ScopedRemoteCalls remote;
    ScriptedExportDialog dialog({{Path("out/REPORT7.jvx"), 21, true, false}});
    doc.m_automaticImport = TRUE;
    doc.OnExportWvd();
    EXPECT_FALSE(doc.m_automaticImport);
    EXPECT_TRUE(doc.m_replaceWithoutAsking);
    EXPECT_TRUE(remote.calls.isEmpty());
}

// ---------------------------------------------------------------- host form of the folder

class ScopedHostForm
{
public:
    explicit ScopedHostForm(HostFormOfFolder hostForm) : m_previous(SetHostFormOfFolder(std::move(hostForm))) {}
    ~ScopedHostForm() { SetHostFormOfFolder(std::move(m_previous)); }
    ScopedHostForm(const ScopedHostForm&) = delete;
    ScopedHostForm& operator=(const ScopedHostForm&) = delete;

private:
    HostFormOfFolder m_previous;
};

TEST_F(ExportCommandTest, FolderInsideTheHostIsKeptInItsFormAndOpenedLocally)
{
    const QString pcin = Path("SYS/QDLS/LIB/PCIN");
    ASSERT_TRUE(QDir().mkpath(pcin));
    const QString host = QStringLiteral("\\\\SYS\\QDLS\\LIB\\PCIN\\");
    ScopedHostFolders folders(std::map<QString, QString>{{host, pcin + u'/'}});
    ScopedHostForm hostForm([pcin, host](const QString& local) { return local == pcin + u'/' ? host : QString(); });
    ScriptedExportDialog dialog({{pcin + QStringLiteral("/REPORT7.jvx"), 21}, {Path("out/REPORT7.jvx"), 21}, {}});

    doc.OnExportWvd();
    EXPECT_EQ(env.prefs.DefaultExportPath, host);
    doc.OnExportWvd(); // into a folder of this machine
    EXPECT_EQ(env.prefs.DefaultExportPath, Path("out") + u'/');
    doc.OnExportWvd();

    ASSERT_EQ(dialog.offered.size(), 3u);
    EXPECT_EQ(dialog.offered[1].initialFolder, pcin + u'/');
    EXPECT_EQ(QDir(dialog.offered[2].initialFolder), QDir(Path("out")));
}

// ---------------------------------------------------------------- scratch folder

TEST(DeleteFolderContents, RemovesEverythingBelowButNeverFollowsALink)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    const auto path = [&](const char* name) { return root.filePath(QString::fromLatin1(name)); };
    const auto touch = [](const QString& file) {
        QFile f(file);
        return f.open(QIODevice::WriteOnly) && f.write("x") == 1;
    };
    ASSERT_TRUE(QDir().mkpath(path("scratch/a/b")));
    ASSERT_TRUE(QDir().mkpath(path("outside/inner")));
    ASSERT_TRUE(touch(path("scratch/top.jvx")));
    ASSERT_TRUE(touch(path("scratch/a/mid.bmp")));
    ASSERT_TRUE(touch(path("scratch/a/b/deep.pcx")));
    ASSERT_TRUE(touch(path("outside/keep.txt")));
    ASSERT_TRUE(touch(path("outside/inner/keep2.txt")));
    ASSERT_TRUE(QFile::link(path("outside"), path("scratch/a/to-outside")));
    ASSERT_TRUE(QFile::link(path("outside/keep.txt"), path("scratch/file-link")));
    ASSERT_TRUE(QFile::link(path("gone"), path("scratch/dangling")));

    DeleteFolderContents(path("scratch"));

    EXPECT_TRUE(QFileInfo(path("scratch")).isDir());
    std::error_code error;
    EXPECT_TRUE(std::filesystem::is_empty(std::filesystem::path(path("scratch").toStdString()), error));
    EXPECT_FALSE(error) << error.message();
    EXPECT_TRUE(QFileInfo::exists(path("outside/keep.txt")));
    EXPECT_TRUE(QFileInfo::exists(path("outside/inner/keep2.txt")));
}

TEST(DeleteFolderContents, MissingFolderIsQuiet)
{
    QTemporaryDir root;
    ASSERT_TRUE(root.isValid());
    DeleteFolderContents(root.filePath(QStringLiteral("never-made")));
    DeleteFolderContents(QString());
    EXPECT_TRUE(QDir(root.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

} // namespace
