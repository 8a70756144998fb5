#pragma once
// The designer's application object: starts the program in a fixed order,
// owns the preferences, the host access library, the imaging toolkit and the
// document template for the run, handles the application's commands and
// tears down at exit only what start-up built.

#include "designer/commands/CmdTarget.h"
#include "designer/preferences/Preferences.h"
#include "designer/shell/LanguageSupport.h"
#include "designer/shell/RecentFileList.h"
#include "designer/shell/ServerAccess.h"
#include "designer/shell/WVDCmdLineInfo.h"
#include "platform/framework/Types.h"

#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CDesignerDoc;
class CMainFrame;
class CSingleDocTemplate;
class CSplashScreenEx;
class CrtWvdRequest;
class ImagingToolkit;
class ITranslator;
class QObject;
class QPrinter;

class CWVDDesignerApp : public CCmdTarget
{
public:
    static constexpr DWORD kTutorialContext = 0x10000 + 32797;

    // What start-up takes from its surroundings; tests replace parts.
    struct Environment
    {
        // The program file, for New Window and the desktop entry; empty:
        // the running program's.
        QString programPath;
        // Where the host access library is looked for; nothing: the
        // program's folder and $KWVD_LIBRARY_PATH.
        std::optional<QStringList> serverLibraryFolders;
        // The help file; empty: "help/index.html" in the program's folder.
        QString helpFile;
        // Starts a process without waiting for it; FALSE when it could not.
        std::function<bool(const QString& program, const QStringList& arguments)> startProcess;
        // Create the imaging toolkit at start-up.
        bool createImagingToolkit = true;
        // Where the user-interface language is chosen from; an empty
        // program path there is programPath.
        LanguageSupport::Environment language;
    };

    // Runs the user's "Execute a WVD" dialog on the request; true on OK.
    using ExecuteWvdDialog = std::function<bool(CrtWvdRequest& request)>;
    // Prints the document opened for /p or /pt; FALSE when it could not.
    using ShellPrintHandler = std::function<BOOL(CDesignerDoc* doc, const CWVDCmdLineInfo& info)>;

    CWVDDesignerApp();
    explicit CWVDDesignerApp(Environment environment);
    ~CWVDDesignerApp() override;

    CWVDDesignerApp(const CWVDDesignerApp&) = delete;
    CWVDDesignerApp& operator=(const CWVDDesignerApp&) = delete;

    // The application object of the process, null when there is none.
    static CWVDDesignerApp* Instance();

    // Start-up with the arguments after the program's name. FALSE ends the
    // program (ExitInstance still runs).
    BOOL InitInstance(const QStringList& arguments);
    // Exit: saves and frees only what start-up made. The program's exit code.
    int ExitInstance();

    // Whether the program, once started, runs its message loop: not when
    // started for automation. The exit code when it does not run.
    bool ShouldRun() const { return m_run; }
    int StartupExitCode() const { return m_startupExitCode; }

    // The steps start-up and exit went through, by name, in order.
    const std::vector<QString>& Steps() const { return m_steps; }

    // The splash shows only for ShowSplashWindow exactly 1, without
    // /NoSplash and while the command line leaves the splash on.
    static bool ShouldShowSplash(BOOL showSplashWindow, const CWVDCmdLineInfo& info);

    // ---- what other code uses
    CPreferences& GetPreferences() { return m_preferences; }
    const CWVDCmdLineInfo& GetCommandLine() const { return m_cmdInfo; }
    BOOL EnableDebugServices() const { return m_preferences.EnableDebugServices; }
    void* ServerAccessModule() const { return m_serverAccess.Module(); }
    const ServerAccess& GetServerAccess() const { return m_serverAccess; }
    BOOL LoadServerAccessLibrary();
    ITranslator* CreateServerTranslator(int mode) const;
    // The run-parameter dialog on the request, then CRTWVD on the host; 0
    // after Cancel, without the library or without its "CallCRTWVD".
    int ExecuteWvdOnServer(CrtWvdRequest* request);
    // Execute a WVD is offered while the library is loaded.
    BOOL CanExecuteWvd() const;
    static void SetExecuteWvdDialog(ExecuteWvdDialog dialog);
    static void SetShellPrintHandler(ShellPrintHandler handler);

    void SetPrinterOrientation(BOOL landscape);
    QPrinter* GetPrinter();

    void ShowHelp(DWORD data, UINT command);
    // F1: the topic of the help context while a dialog sets one, else the
    // contents.
    void OnHelp();
    QString GetHelpFilePath() const;

    // Remembers the document's folder, opens it and puts it on the recent
    // list; null when it failed or was cancelled.
    CDesignerDoc* OpenDocumentFile(const QString& path);

    QString LastDocumentFolder;
    CRecentFileList& RecentFiles() { return m_recentFiles; }
    CMainFrame* GetMainFrame() const;
    CDesignerDoc* GetDocument() const;
    CSingleDocTemplate* GetDocTemplate() const { return m_template.get(); }
    CSplashScreenEx* GetSplash() const;
    ImagingToolkit* GetImagingToolkit() const { return m_imaging.get(); }
    LanguageSupport& GetLanguageSupport() { return m_language; }

    // ---- commands
    void OnFileNew(BYTE docType);
    void OnFileOpen();
    void OnNewWindow();
    void OnExecuteWvd();
    void OnAppAbout();
    // The Options sheet; after OK the preferences hold its values.
    void OnOptions();
    void OnFilePrintSetup();
    void OnOpenRecentFile(UINT id);

private:
    void RegisterServices();
    void RegisterCommands();
    void Step(const QString& name);
    BOOL RunRegistration();
    void ShowSplash();
    BOOL ProcessShellCommand();
    void ShowMainWindow();

    Environment m_env;
    LanguageSupport m_language;
    CPreferences m_preferences;
    CPreferences* m_previousPreferences = nullptr;
    CWVDCmdLineInfo m_cmdInfo;
    ServerAccess m_serverAccess;
    std::unique_ptr<ImagingToolkit> m_imaging;
    std::unique_ptr<CSingleDocTemplate> m_template;
    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QObject> m_dropFilter;
    CRecentFileList m_recentFiles;
    QPointer<CSplashScreenEx> m_splash;
    std::vector<QString> m_steps;
    bool m_run = true;
    int m_startupExitCode = 0;
    bool m_translatorBound = false;
    bool m_exited = false;
};

// The designer's binding of the host access library's translator, as the
// JVX writer (mode 2) and reader (mode 3) use it.
ITranslator* CreateServerTranslator(int mode);
