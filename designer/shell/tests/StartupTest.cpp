#include "designer/commands/CmdUI.h"
#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/SplashScreenEx.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/shell/tests/AppTestEnvironment.h"
#include "platform/registry/RegistryStore.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

const QString kMissing219 = QStringLiteral(
    "A required component (libMerrow2.so) was not found or could not be loaded.  It is looked for beside the "
    "program and in the folder named by KWVD_LIBRARY_PATH.  Server access functions will be disabled.");

// A designer started in the test's own folders, with no host access library
// unless asked, help pages of the test and New Window recorded.
class StartupTest : public ::testing::Test
{
protected:
    CWVDDesignerApp::Environment Environment(bool withServerLibrary = false)
    {
        CWVDDesignerApp::Environment e;
        e.programPath = QStringLiteral("/opt/kwvd/KWVDDesigner");
        e.serverLibraryFolders =
            withServerLibrary ? QStringList{QStringLiteral(KWVD_MERROW2_STUB_DIR)} : QStringList{env.folder.path()};
        e.helpFile = env.folder.filePath(QStringLiteral("help/index.html"));
        e.startProcess = [this](const QString& program, const QStringList& arguments) {
            started.push_back({program, arguments});
            return true;
        };
        e.createImagingToolkit = true;
        return e;
    }

    void WriteHelpFile()
    {
        QDir().mkpath(env.folder.filePath(QStringLiteral("help")));
        QFile file(env.folder.filePath(QStringLiteral("help/index.html")));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<html><body><h1 id=\"contents\">Contents</h1><h2 id=\"topic-98333\">Tutorial</h2></body></html>");
    }

    void SetPreference(const QString& name, std::uint32_t value)
    {
        auto& store = kwvd::RegistryStore::Instance();
        const auto key = store.CreateKey(HKEY_CURRENT_USER,
                                         kwvd::ApplicationKeyPath(u"KWVD Designer") + QStringLiteral("\\Preferences"));
        ASSERT_TRUE(key);
        store.WriteValue(*key, name, kwvd::RegistryValue::Number(value));
    }

    // A fresh designer also reports its missing master font file; these are
    // the messages about the host access library.
    QStringList ServerMessages() const
    {
        QStringList texts = env.MessageTexts();
        texts.removeIf([](const QString& text) { return text.contains(QStringLiteral("WvdFontsV2.dat")); });
        return texts;
    }

    std::vector<FileDialogRequest> OpenRequests() const
    {
        std::vector<FileDialogRequest> requests;
        for (const RecordedPrompt& prompt : env.prompts->Recorded()) {
            if (prompt.kind == PromptKind::OpenFile)
                requests.push_back(prompt.file);
        }
        return requests;
    }

    static BOOL IsEnabled(CWVDDesignerApp& app, UINT id)
    {
        CCmdUI ui(id);
        return app.OnUpdateCmdUI(ui) && ui.IsEnabled();
    }

    AppTestEnvironment env;
    std::vector<std::pair<QString, QStringList>> started;
};

TEST_F(StartupTest, RunsItsStepsInOrderAndExitUndoesThem)
{
    CWVDDesignerApp app(Environment(true));
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    EXPECT_TRUE(app.ShouldRun());
    const std::vector<QString> expected{
        "RegistryKey",    "Language",     "EnableDebugServices", "CommandLine",
        "Splash",         "ServerAccess", "Preferences",         "RemoveMailAttachments",
        "ImagingToolkit", "DocTemplate",  "ShellCommand",        "MainWindow"};
    EXPECT_EQ(app.Steps(), expected);
    ASSERT_NE(app.GetMainFrame(), nullptr);
    EXPECT_TRUE(app.GetMainFrame()->isVisible());
    ASSERT_NE(app.GetDocument(), nullptr);
    EXPECT_EQ(app.GetMainFrame()->GetDocument(), app.GetDocument());
    EXPECT_TRUE(app.GetServerAccess().IsLoaded());
    EXPECT_EQ(ServerMessages(), QStringList());

    EXPECT_EQ(app.ExitInstance(), 0);
    const std::vector<QString> exitSteps(app.Steps().begin() + expected.size(), app.Steps().end());
    EXPECT_EQ(exitSteps, (std::vector<QString>{"SavePreferences", "DeleteImagingToolkit", "FreeServerAccess"}));
    EXPECT_EQ(app.GetMainFrame(), nullptr);
}

TEST_F(StartupTest, WithoutTheServerLibraryItSaysSoOnceAndExecuteIsDisabled)
{
    CWVDDesignerApp app(Environment(false));
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    EXPECT_EQ(ServerMessages(), QStringList{kMissing219});
    EXPECT_EQ(app.ServerAccessModule(), nullptr);
    EXPECT_FALSE(IsEnabled(app, ID_FILE_EXECUTE_WVD));
    // The JVX code asking for a translator gets none and no second message.
    EXPECT_EQ(CreateServerTranslator(2), nullptr);
    EXPECT_EQ(ServerMessages().size(), 1);
}

TEST_F(StartupTest, ServerLibraryWithoutCreateTranslatorGivesMessage278)
{
    CWVDDesignerApp app(Environment(true));
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    EXPECT_EQ(CreateServerTranslator(3), nullptr);
    EXPECT_EQ(ServerMessages(), QStringList{QStringLiteral("Failed to establish contact with Server.")});
}

TEST_F(StartupTest, ExecuteWvdPassesTheDefaultsThroughTheDialog)
{
    SetPreference(QStringLiteral("ShowSplashWindow"), 0);
    CWVDDesignerApp app(Environment(true));
    ASSERT_TRUE(app.InitInstance({}));
    // Start-up installs the run-parameter dialog, so the command is on while
    // the library is loaded.
    EXPECT_TRUE(IsEnabled(app, ID_FILE_EXECUTE_WVD));

    app.GetPreferences().DefaultOutputQueue = QStringLiteral("QUEUENAME12345");
    app.GetPreferences().DefaultOutputQueueLibrary = QStringLiteral("QLIB");
    app.GetPreferences().DefaultSystem = QStringLiteral("SYSA");
    app.GetPreferences().DefaultLibrary = QStringLiteral("KWVD");
    QString queue, library, system, wvdLibrary;
    bool accept = false;
    CWVDDesignerApp::SetExecuteWvdDialog([&](CrtWvdRequest& request) {
        queue = request.GetIdentity().GetOutputQueue();
        library = request.GetIdentity().GetOutputQueueLibrary();
        system = request.GetSystem();
        wvdLibrary = request.GetLibrary();
        return accept;
    });
    EXPECT_TRUE(IsEnabled(app, ID_FILE_EXECUTE_WVD));
    app.OnCmdMsg(ID_FILE_EXECUTE_WVD);
    EXPECT_EQ(queue, QStringLiteral("QUEUENAME1"));
    EXPECT_EQ(library, QStringLiteral("QLIB"));
    EXPECT_EQ(system, QStringLiteral("SYSA"));
    EXPECT_EQ(wvdLibrary, QStringLiteral("KWVD"));

    CrtWvdRequest request;
    EXPECT_EQ(app.ExecuteWvdOnServer(&request), 0); // cancelled
    accept = true;
    EXPECT_EQ(app.ExecuteWvdOnServer(&request), 1);
    CWVDDesignerApp::SetExecuteWvdDialog({});
}

TEST_F(StartupTest, SplashShowsOnlyForShowSplashWindowOneWithoutNoSplash)
{
    struct Case
    {
        const char* name;
        std::uint32_t showSplashWindow;
        QStringList arguments;
        bool shown;
    };
    const Case cases[] = {
        {"default", 1, {}, true},
        {"value 2", 2, {}, false},
        {"value 0", 0, {}, false},
        {"nosplash", 1, {QStringLiteral("/nosplash")}, false},
        {"NOSPLASH", 1, {QStringLiteral("/NOSPLASH")}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetPreference(QStringLiteral("ShowSplashWindow"), c.showSplashWindow);
        CWVDDesignerApp app(Environment());
        ASSERT_TRUE(app.InitInstance(c.arguments));
        EXPECT_EQ(app.GetSplash() != nullptr, c.shown);
        app.ExitInstance();
    }
}

TEST_F(StartupTest, TutorialOpensItsHelpTopicAfterTheMainWindow)
{
    WriteHelpFile();
    CWVDDesignerApp app(Environment());
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash"), QStringLiteral("/Tutorial")}));
    ASSERT_GE(app.Steps().size(), 2u);
    EXPECT_EQ(app.Steps()[app.Steps().size() - 2], QStringLiteral("MainWindow"));
    EXPECT_EQ(app.Steps().back(), QStringLiteral("Tutorial"));
    ASSERT_EQ(env.openedUrls.size(), 1u);
    EXPECT_EQ(env.openedUrls[0].fragment(), QStringLiteral("topic-98333"));
}

TEST_F(StartupTest, EmbeddingAndAutomationEndAtOnceWithSuccess)
{
    for (const char* flag : {"/Embedding", "/Automation"}) {
        SCOPED_TRACE(flag);
        CWVDDesignerApp app(Environment());
        EXPECT_TRUE(app.InitInstance({QString::fromLatin1(flag)}));
        EXPECT_FALSE(app.ShouldRun());
        EXPECT_EQ(app.GetMainFrame(), nullptr);
        EXPECT_FALSE(app.GetPreferences().IsLoaded());
        EXPECT_EQ(app.ExitInstance(), 0);
        EXPECT_EQ(std::count(app.Steps().begin(), app.Steps().end(), QStringLiteral("SavePreferences")), 0);
    }
}

TEST_F(StartupTest, OpenStartsInTheDocumentFolderAndThenInTheLastOne)
{
    CWVDDesignerApp app(Environment());
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    const QString docs = env.folder.filePath(QStringLiteral("docs"));
    app.GetPreferences().DefaultDocDirectory = docs;

    app.OnCmdMsg(ID_FILE_OPEN); // cancelled
    ASSERT_EQ(OpenRequests().size(), 1u);
    const FileDialogRequest first = OpenRequests()[0];
    EXPECT_EQ(first.initialFolder, docs);
    EXPECT_EQ(first.title, QStringLiteral("Open"));
    EXPECT_EQ(first.filter, QStringLiteral("WVD Files (*.WVD)|*.WVD|All Files (*.*)|*.*||"));

    // A document opened by any road moves the starting folder.
    app.OpenDocumentFile(env.folder.filePath(QStringLiteral("elsewhere/missing.wvd")));
    env.prompts->ClearRecorded();
    app.OnCmdMsg(ID_FILE_OPEN);
    ASSERT_EQ(OpenRequests().size(), 1u);
    EXPECT_EQ(OpenRequests()[0].initialFolder, env.folder.filePath(QStringLiteral("elsewhere")));
}

TEST_F(StartupTest, NewWindowStartsTheProgramWithoutSplash)
{
    CWVDDesignerApp app(Environment());
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    app.OnCmdMsg(ID_FILE_NEW_WINDOW);
    ASSERT_EQ(started.size(), 1u);
    EXPECT_EQ(started[0].first, QStringLiteral("/opt/kwvd/KWVDDesigner"));
    EXPECT_EQ(started[0].second, QStringList{QStringLiteral("/NoSplash")});
}

TEST_F(StartupTest, NewXmlSetsTheTypeAndACancelledSaveKeepsTheDocument)
{
    CWVDDesignerApp app(Environment());
    ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
    CDesignerDoc* doc = app.GetDocument();
    ASSERT_NE(doc, nullptr);
    app.OnCmdMsg(ID_FILE_NEW_XML);
    EXPECT_EQ(doc->GetDocType(), 1);
    EXPECT_EQ(doc->GetTitle(), QStringLiteral("WVD"));

    doc->SetModifiedFlag(TRUE);
    env.prompts->AnswerMessageBox(IDCANCEL);
    app.OnCmdMsg(ID_FILE_NEW);
    EXPECT_EQ(doc->GetDocType(), 1);
    EXPECT_TRUE(doc->IsModified());

    env.prompts->AnswerMessageBox(IDNO);
    app.OnCmdMsg(ID_FILE_NEW);
    EXPECT_EQ(doc->GetDocType(), 0);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(StartupTest, RecentFilesAreListedNewestFirstAndKeptOverARestart)
{
    const QString a = env.folder.filePath(QStringLiteral("a.wvd"));
    const QString b = env.folder.filePath(QStringLiteral("b.wvd"));
    {
        CWVDDesignerApp app(Environment());
        ASSERT_TRUE(app.InitInstance({QStringLiteral("/NoSplash")}));
        app.RecentFiles().Add(a);
        app.RecentFiles().Add(b);
        app.RecentFiles().Add(a);
        CCmdUI first(ID_FILE_MRU_FILE1);
        ASSERT_TRUE(app.OnUpdateCmdUI(first));
        EXPECT_EQ(first.GetText().value_or(QString()), QStringLiteral("&1 ") + a);
        CCmdUI third(ID_FILE_MRU_FILE1 + 2);
        ASSERT_TRUE(app.OnUpdateCmdUI(third));
        EXPECT_EQ(third.GetText().value_or(QStringLiteral("x")), QString());
        EXPECT_FALSE(third.IsEnabled());
        app.ExitInstance();
    }
    CWVDDesignerApp again(Environment());
    ASSERT_TRUE(again.InitInstance({QStringLiteral("/NoSplash")}));
    EXPECT_EQ(again.RecentFiles().Paths(), (QStringList{a, b}));
}

} // namespace
