#include "designer/shell/WVDDesignerApp.h"

#include "designer/commands/CommandIds.h"
#include "designer/controls/TaskDialogPrompts.h"
#include "designer/document/CrtWvdRequest.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/ModelRegistration.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/document/ServerEntryPoints.h"
#include "designer/document/SpooledFileStrings.h"
#include "designer/document/TranslatorFactory.h"
#include "designer/document/ui/ExportToAS400Dialog.h"
#include "designer/document/ui/SplfDtaDlg.h"
#include "designer/elements/ElementClasses.h"
#include "designer/elements/LoopStrings.h"
#include "designer/elements/VariableStrings.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/ui/OutputDeviceDialogView.h"
#include "designer/output/ui/OutputDeviceSettingsSheets.h"
#include "designer/preferences/PreferenceStrings.h"
#include "designer/resources/ResourceClasses.h"
#include "designer/resources/barcodes/BarcodeStrings.h"
#include "designer/resources/catalogue/CatalogueStrings.h"
#include "designer/resources/fonts/FontStrings.h"
#include "designer/resources/images/ImageExport.h"
#include "designer/resources/images/ImageStrings.h"
#include "designer/resources/images/ImagingToolkit.h"
#include "designer/resources/ui/AS400FontAddDialogView.h"
#include "designer/resources/ui/BarcodeSettingsDialogView.h"
#include "designer/shell/AboutBox.h"
#include "designer/shell/AppStrings.h"
#include "designer/shell/HostExport.h"
#include "designer/shell/IncorrectVersionDlg.h"
#include "designer/shell/KWVDDataDlg.h"
#include "designer/shell/KWVDDesignerModule.h"
#include "designer/shell/MailAttachmentFolder.h"
#include "designer/shell/MailStrings.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/ProgramVersion.h"
#include "designer/shell/ShellClasses.h"
#include "designer/shell/ShellResources.h"
#include "designer/shell/SingleDocTemplate.h"
#include "designer/shell/SplashScreenEx.h"
#include "designer/views/DDestView.h"
#include "designer/views/DSourceView.h"
#include "designer/views/explorer/ExplorerPane.h"
#include "designer/views/find/FindReplaceDlg.h"
#include "designer/views/pages/ElementPageStrings.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "hostaccess/api/Translator.h"
#include "platform/framework/FrameworkClasses.h"
#include "platform/help/HtmlHelp.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/DocumentPrompts.h"
#include "platform/ui/HelpPrompt.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/qt/QtPromptService.h"

#include <QCoreApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMimeData>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QSessionManager>

namespace {

CWVDDesignerApp* g_app = nullptr;

CWVDDesignerApp::ExecuteWvdDialog& ExecuteDialog()
{
    static CWVDDesignerApp::ExecuteWvdDialog dialog;
    return dialog;
}

CWVDDesignerApp::ShellPrintHandler& PrintHandler()
{
    static CWVDDesignerApp::ShellPrintHandler handler;
    return handler;
}

constexpr UINT kTemplateId = 128;

// The template's input pane and the frame's output pane.
void InstallDesignPanes()
{
    CSingleDocTemplate::SetInputViewFactory([](CMainFrame*, CDesignerDoc*) -> QWidget* { return new CDSourceView; });
    CSingleDocTemplate::SetOutputViewFactory([](CMainFrame*, CDesignerDoc*) -> QWidget* {
        auto* view = new CDDestView;
        // Print Setup and the print switches use the application's printer.
        if (CWVDDesignerApp* app = CWVDDesignerApp::Instance())
            view->SetPrinter(app->GetPrinter());
        return view;
    });
}

// /p prints on the application's printer, /pt on the printer it names.
BOOL PrintFromCommandLine(CDesignerDoc* doc, const CWVDCmdLineInfo& info)
{
    CWVDDesignerApp* app = CWVDDesignerApp::Instance();
    if (!app || !doc)
        return FALSE;
    QPrinter* printer = app->GetPrinter();
    if (info.m_nShellCommand == CWVDCmdLineInfo::FilePrintTo && !info.m_strPrinterName.isEmpty()) {
        if (QPrinterInfo::printerInfo(info.m_strPrinterName).isNull()) {
            AfxMessageBox(QStringLiteral("The printer \"%1\" was not found.").arg(info.m_strPrinterName),
                          MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        printer->setPrinterName(info.m_strPrinterName);
    }
    if (CDDestView::PrintDocument(doc, *printer))
        return TRUE;
    const QString where = !printer->outputFileName().isEmpty() ? printer->outputFileName() : printer->printerName();
    AfxMessageBox(
        where.isEmpty()
            ? QStringLiteral("The document \"%1\" could not be printed: no printer is set up.").arg(doc->GetPathName())
            : QStringLiteral("The document \"%1\" could not be printed on \"%2\".").arg(doc->GetPathName(), where),
        MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}

// The output queue fields of a request hold 10 characters.
constexpr int kQueueNameWidth = 10;

// Files dropped on the main window open as documents, the last one winning
// as the single document.
class FileDropFilter : public QObject
{
public:
    explicit FileDropFilter(CWVDDesignerApp* app) : m_app(app) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::DragEnter) {
            auto* drag = static_cast<QDragEnterEvent*>(event);
            if (drag->mimeData()->hasUrls()) {
                drag->acceptProposedAction();
                return true;
            }
        } else if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            QString last;
            for (const QUrl& url : drop->mimeData()->urls()) {
                if (url.isLocalFile())
                    last = url.toLocalFile();
            }
            if (!last.isEmpty()) {
                drop->acceptProposedAction();
                m_app->OpenDocumentFile(last);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CWVDDesignerApp* m_app;
};

QString HelpCommandName(UINT command)
{
    switch (command) {
    case HH_HELP_CONTEXT:
        return QStringLiteral("HH_HELP_CONTEXT");
    case HH_DISPLAY_TOC:
        return QStringLiteral("HH_DISPLAY_TOC");
    case HH_DISPLAY_TOPIC:
        return QStringLiteral("HH_HELP_FINDER");
    default:
        return QStringLiteral("Unknown %1").arg(command);
    }
}

// The debug text has printf inserts; fill them in order, with no printf on
// a text that comes from the string table.
QString FillHelpDebugText(QString text, const QString& name, DWORD data)
{
    const std::pair<const char*, QString> inserts[] = {
        {"%s", name},
        {"%d", QString::number(data)},
        {"%lx", QString::number(data, 16)},
    };
    for (const auto& [token, value] : inserts) {
        const qsizetype at = text.indexOf(QLatin1String(token));
        if (at >= 0)
            text.replace(at, qsizetype(qstrlen(token)), value);
    }
    return text;
}

} // namespace

ITranslator* CreateServerTranslator(int mode)
{
    return g_app ? g_app->CreateServerTranslator(mode) : nullptr;
}

CWVDDesignerApp::CWVDDesignerApp() : CWVDDesignerApp(Environment{}) {}

CWVDDesignerApp::CWVDDesignerApp(Environment environment) : m_env(std::move(environment))
{
    LanguageSupport::Environment language = m_env.language;
    if (language.programPath.isEmpty())
        language.programPath = m_env.programPath;
    m_language.SetEnvironment(std::move(language));
    if (!g_app)
        g_app = this;
    m_previousPreferences = SetPreferences(&m_preferences);
    RegisterCommands();
}

CWVDDesignerApp::~CWVDDesignerApp()
{
    ExitInstance();
    SetPreferences(m_previousPreferences);
    if (g_app == this)
        g_app = nullptr;
}

CWVDDesignerApp* CWVDDesignerApp::Instance()
{
    return g_app;
}

void CWVDDesignerApp::Step(const QString& name)
{
    m_steps.push_back(name);
}

void CWVDDesignerApp::RegisterServices()
{
    RegisterModel();
    RegisterShellClasses();
    RegisterMailStrings();
    RegisterShellResources();
    RegisterAppStrings();
    RegisterElementPageStrings();
    InstallDocumentPrompts();
    RegisterTaskDialogStrings();
    QtPromptService::SetCommandLinkHook(&RunCommandLinkTaskDialog);
    SetHelpRequestHandler([](const HelpRequest&) {
        if (CWVDDesignerApp* app = CWVDDesignerApp::Instance())
            app->OnHelp();
    });
    InstallSpooledFileDataViewer();
    InstallExportToAS400Dialog();
    InstallHostExport(&m_serverAccess);
    InstallBarcodeSettingsDialog();
    InstallFontDialogs();
    InstallIncorrectVersionDialog();
    InstallOutputDeviceDialog();
    InstallOutputDeviceSettingsWindows();
    RegisterKWVDDataDlgStrings();
    // A dialog set beforehand (a test's) stays.
    if (!ExecuteDialog())
        SetExecuteWvdDialog(&RunExecuteWvdDialog);
}

void CWVDDesignerApp::RegisterCommands()
{
    OnCommand(ID_FILE_NEW, [this] { OnFileNew(0); });
    OnCommand(ID_FILE_NEW_XML, [this] { OnFileNew(1); });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommand(ID_FILE_NEW_WINDOW, [this] { OnNewWindow(); });
    OnCommand(ID_APP_ABOUT, [this] { OnAppAbout(); });
    OnCommand(ID_HELP_TUTORIAL, [this] { ShowHelp(kTutorialContext, HELP_CONTEXT); });
    OnCommand(ID_HELP_FINDER, [this] { ShowHelp(0, HELP_FINDER); });
    OnCommand(ID_HELP, [this] { OnHelp(); });
    OnCommand(ID_FILE_PRINT_SETUP, [this] { OnFilePrintSetup(); });
    OnCommand(ID_VIEW_OPTIONS, [this] { OnOptions(); });

    OnCommand(ID_FILE_EXECUTE_WVD, [this] { OnExecuteWvd(); });
    OnUpdate(ID_FILE_EXECUTE_WVD, [this](CCmdUI& ui) { ui.Enable(CanExecuteWvd()); });

    OnCommand(ID_APP_EXIT, [this] {
        // The frame's close asks the document first, as the close box does.
        if (CMainFrame* frame = GetMainFrame())
            frame->close();
    });

    // Every item of the menu's list: those past the entries stay hidden.
    const UINT lastRecent = ID_FILE_MRU_FILE1 + static_cast<UINT>(MRU_FILE_COUNT) - 1;
    OnCommandRange(ID_FILE_MRU_FILE1, lastRecent, [this](UINT id) { OnOpenRecentFile(id); });
    OnUpdateRange(ID_FILE_MRU_FILE1, lastRecent, [this](CCmdUI& ui) {
        const QString text = m_recentFiles.GetDisplayName(static_cast<int>(ui.m_nID - ID_FILE_MRU_FILE1));
        ui.SetText(text);
        ui.Enable(text.isEmpty() ? FALSE : TRUE);
    });

    OnCommandRange(ID_LAYOUT_SAVE_FIRST, ID_LAYOUT_SAVE_FIRST + 9, [this](UINT id) {
        if (CMainFrame* frame = GetMainFrame())
            frame->ApplyLayoutSlot(static_cast<int>(id - ID_LAYOUT_SAVE_FIRST), TRUE);
    });
    OnCommandRange(ID_LAYOUT_LOAD_FIRST, ID_LAYOUT_LOAD_FIRST + 9, [this](UINT id) {
        if (CMainFrame* frame = GetMainFrame())
            frame->ApplyLayoutSlot(static_cast<int>(id - ID_LAYOUT_LOAD_FIRST), FALSE);
    });
}

bool CWVDDesignerApp::ShouldShowSplash(BOOL showSplashWindow, const CWVDCmdLineInfo& info)
{
    return showSplashWindow == 1 && info.m_bShowSplash && !info.m_bNoSplash;
}

BOOL CWVDDesignerApp::InitInstance(const QStringList& arguments)
{
    RegisterServices();

    // All settings lie below the program's key of the "Qorvane" word.
    Step(QStringLiteral("RegistryKey"));

    m_language.ChooseLanguage();
    Step(QStringLiteral("Language"));

    m_preferences.ReadEnableDebugServices();
    Step(QStringLiteral("EnableDebugServices"));

    m_cmdInfo = CWVDCmdLineInfo();
    m_cmdInfo.ParseCommandLine(arguments);
    Step(QStringLiteral("CommandLine"));

    // Nothing on this system embeds the designer or drives it by automation.
    if (m_cmdInfo.m_bRunEmbedded || m_cmdInfo.m_bRunAutomated) {
        Step(QStringLiteral("Embedded"));
        m_run = false;
        m_startupExitCode = 0;
        return TRUE;
    }

    if (m_cmdInfo.m_nShellCommand == CWVDCmdLineInfo::AppRegister
        || m_cmdInfo.m_nShellCommand == CWVDCmdLineInfo::AppUnregister) {
        Step(QStringLiteral("Registration"));
        m_startupExitCode = RunRegistration() ? 0 : 1;
        m_run = false;
        return FALSE;
    }

    m_preferences.ReadShowSplashWindow();
    if (ShouldShowSplash(m_preferences.ShowSplashWindow, m_cmdInfo))
        ShowSplash();
    Step(QStringLiteral("Splash"));

    if (!LoadServerAccessLibrary()) {
        QString text = LoadResString(AppString::ServerLibraryMissing);
        if (!m_serverAccess.LoadError().isEmpty())
            text += QStringLiteral("\n\n") + m_serverAccess.LoadError();
        AfxMessageBox(text, MB_OK | MB_ICONEXCLAMATION);
    }
    m_preferences.SetServerAccessLoaded(m_serverAccess.IsLoaded());
    SetServerTranslatorFactory([](int mode) { return ::CreateServerTranslator(mode); });
    SetServerEntryPointLookup([this](const char* name) { return m_serverAccess.FindEntryPoint(name); });
    m_translatorBound = true;
    Step(QStringLiteral("ServerAccess"));

    m_preferences.LoadPreferences();
    m_recentFiles.ReadList();
    Step(QStringLiteral("Preferences"));

    // Mail attachments of designers that have ended are no longer needed:
    // their mail program has had them.
    MailAttachmentFolder::RemoveLeftovers();
    Step(QStringLiteral("RemoveMailAttachments"));

    if (m_env.createImagingToolkit) {
        m_imaging = std::make_unique<ImagingToolkit>();
        Step(QStringLiteral("ImagingToolkit"));
    }

    InstallDesignPanes();
    // A handler set beforehand (a test's) stays.
    if (!PrintHandler())
        PrintHandler() = PrintFromCommandLine;
    m_template = std::make_unique<CSingleDocTemplate>(kTemplateId, this);
    Step(QStringLiteral("DocTemplate"));

    if (!ProcessShellCommand()) {
        if (m_run)
            m_startupExitCode = 1;
        m_run = false;
        return FALSE;
    }
    Step(QStringLiteral("ShellCommand"));

    ShowMainWindow();
    Step(QStringLiteral("MainWindow"));

    if (m_cmdInfo.m_bTutorial) {
        ShowHelp(kTutorialContext, HELP_CONTEXT);
        Step(QStringLiteral("Tutorial"));
    }
    return TRUE;
}

BOOL CWVDDesignerApp::RunRegistration()
{
    if (m_cmdInfo.m_nShellCommand == CWVDCmdLineInfo::AppUnregister) {
        const BOOL ids = CKWVDDesignerModule::UpdateRegistryAppId(FALSE);
        const BOOL server = CKWVDDesignerModule::UnregisterServer();
        return ids && server;
    }
    const QString program = m_env.programPath.isEmpty() ? QCoreApplication::applicationFilePath() : m_env.programPath;
    const BOOL ids = CKWVDDesignerModule::UpdateRegistryAppId(TRUE);
    const BOOL server = CKWVDDesignerModule::RegisterServer(program);
    return ids && server;
}

void CWVDDesignerApp::ShowSplash()
{
    auto* splash = new CSplashScreenEx;
    splash->SetBitmap(DrawBrandBitmap());
    splash->SetStyle(CSplashScreenEx::kDesignerStyle);
    splash->SetTimeout(CSplashScreenEx::kDefaultTimeout);
    splash->SetText(GetVersionText());
    if (!splash->Show()) {
        delete splash;
        return;
    }
    m_splash = splash;
}

CSplashScreenEx* CWVDDesignerApp::GetSplash() const
{
    return m_splash.data();
}

BOOL CWVDDesignerApp::LoadServerAccessLibrary()
{
    const QStringList folders =
        m_env.serverLibraryFolders ? *m_env.serverLibraryFolders : ServerAccess::DefaultSearchFolders();
    return m_serverAccess.Load(folders);
}

ITranslator* CWVDDesignerApp::CreateServerTranslator(int mode) const
{
    return m_serverAccess.CreateTranslator(mode, m_preferences.DefaultSystem);
}

void CWVDDesignerApp::SetExecuteWvdDialog(ExecuteWvdDialog dialog)
{
    ExecuteDialog() = std::move(dialog);
}

void CWVDDesignerApp::SetShellPrintHandler(ShellPrintHandler handler)
{
    PrintHandler() = std::move(handler);
}

BOOL CWVDDesignerApp::CanExecuteWvd() const
{
    return m_serverAccess.IsLoaded() && ExecuteDialog() ? TRUE : FALSE;
}

int CWVDDesignerApp::ExecuteWvdOnServer(CrtWvdRequest* request)
{
    if (!request || !ExecuteDialog() || !ExecuteDialog()(*request))
        return 0;
    if (!m_serverAccess.IsLoaded())
        return 0;
    return m_serverAccess.CallCRTWVD(request);
}

void CWVDDesignerApp::OnExecuteWvd()
{
    CrtWvdRequest request;
    request.GetIdentity().SetOutputQueue(m_preferences.DefaultOutputQueue.left(kQueueNameWidth));
    request.GetIdentity().SetOutputQueueLibrary(m_preferences.DefaultOutputQueueLibrary.left(kQueueNameWidth));
    request.SetSystem(m_preferences.DefaultSystem);
    request.SetLibrary(m_preferences.DefaultLibrary);
    ExecuteWvdOnServer(&request);
}

BOOL CWVDDesignerApp::ProcessShellCommand()
{
    if (!m_template->CreateFrame())
        return FALSE;
    // The element property sheet lives as long as the frame, hidden at first.
    if (CMainFrame* frame = GetMainFrame(); frame != nullptr && frame->ElementPropertySheet() == nullptr)
        frame->SetPropertySheet(CElementPropertySheetWnd::Create(frame, frame));
    if (CMainFrame* frame = GetMainFrame(); frame != nullptr && frame->GetExplorerPane() == nullptr)
        frame->SetExplorerPane(std::make_unique<CExplorerPane>(frame, frame));
    if (CMainFrame* frame = GetMainFrame(); frame != nullptr)
        frame->SetLanguageSupport(&m_language);
    if (CMainFrame* frame = GetMainFrame(); frame != nullptr)
        frame->SetFindDialogFactory(
            [frame](QWidget* parent) { return std::make_unique<CFindReplaceDlg>(frame, parent); });
    if (m_dropFilter == nullptr) {
        m_dropFilter = std::make_unique<FileDropFilter>(this);
        GetMainFrame()->installEventFilter(m_dropFilter.get());
    }
    switch (m_cmdInfo.m_nShellCommand) {
    case CWVDCmdLineInfo::FileNew:
        return m_template->OpenNewDocument() != nullptr ? TRUE : FALSE;
    case CWVDCmdLineInfo::FileOpen:
        return OpenDocumentFile(m_cmdInfo.m_strFileName) != nullptr ? TRUE : FALSE;
    case CWVDCmdLineInfo::FilePrint:
    case CWVDCmdLineInfo::FilePrintTo: {
        // A print request ends the program once printed; its exit code says
        // whether the page went out. A document that did not open was
        // reported by the open.
        CDesignerDoc* doc = OpenDocumentFile(m_cmdInfo.m_strFileName);
        const bool printed = doc && PrintHandler() && PrintHandler()(doc, m_cmdInfo);
        m_startupExitCode = printed ? 0 : 1;
        m_run = false;
        return FALSE;
    }
    default:
        return FALSE;
    }
}

void CWVDDesignerApp::ShowMainWindow()
{
    CMainFrame* frame = GetMainFrame();
    if (!frame)
        return;
#ifndef QT_NO_SESSIONMANAGER
    // Logging out closes the program: the document is asked about first,
    // and Cancel keeps the session.
    if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QObject::connect(
            gui, &QGuiApplication::commitDataRequest, frame,
            [this](QSessionManager& manager) {
                CMainFrame* current = GetMainFrame();
                if (current && manager.allowsInteraction()) {
                    const bool mayClose = current->CanCloseFrame();
                    manager.release();
                    if (!mayClose)
                        manager.cancel();
                }
            },
            Qt::DirectConnection);
    }
#endif
    frame->setAcceptDrops(true);
    frame->show();
    if (m_splash)
        m_splash->raise();
}

int CWVDDesignerApp::ExitInstance()
{
    if (m_exited)
        return m_startupExitCode;
    m_exited = true;
    if (m_splash)
        delete m_splash.data();
    if (m_template) {
        m_template->CloseAll();
        m_template.reset();
    }
    m_dropFilter.reset();
    // Settings are written back only when they were read: a start-up that
    // stopped early must not blank the user's values.
    if (m_preferences.IsLoaded()) {
        m_preferences.SavePreferences();
        m_recentFiles.WriteList();
        Step(QStringLiteral("SavePreferences"));
    }
    if (m_imaging) {
        m_imaging.reset();
        Step(QStringLiteral("DeleteImagingToolkit"));
    }
    if (m_translatorBound) {
        SetServerTranslatorFactory({});
        SetServerEntryPointLookup({});
        m_translatorBound = false;
    }
    if (m_serverAccess.IsLoaded()) {
        m_serverAccess.Free();
        Step(QStringLiteral("FreeServerAccess"));
    }
    m_printer.reset();
    // The attachments stay for the mail program; the next start removes them.
    MailAttachmentFolder::EndRun();
    return m_startupExitCode;
}

CMainFrame* CWVDDesignerApp::GetMainFrame() const
{
    return m_template ? m_template->GetFrame() : nullptr;
}

CDesignerDoc* CWVDDesignerApp::GetDocument() const
{
    return m_template ? m_template->GetDocument() : nullptr;
}

CDesignerDoc* CWVDDesignerApp::OpenDocumentFile(const QString& path)
{
    if (!m_template || path.isEmpty())
        return nullptr;
    const QFileInfo info(path);
    LastDocumentFolder = info.absolutePath();
    CDesignerDoc* doc = m_template->OpenDocumentFile(info.absoluteFilePath());
    if (doc) {
        m_recentFiles.Add(info.absoluteFilePath());
        if (CMainFrame* frame = GetMainFrame())
            frame->RefreshRecentFiles();
    }
    return doc;
}

void CWVDDesignerApp::OnFileNew(BYTE docType)
{
    if (!m_template)
        return;
    CDesignerDoc* doc = m_template->OpenNewDocument();
    if (doc)
        doc->SetDocType(docType);
}

void CWVDDesignerApp::OnFileOpen()
{
    if (LastDocumentFolder.isEmpty())
        LastDocumentFolder = m_preferences.DefaultDocDirectory;
    FileDialogRequest request;
    request.title = LoadResString(AppString::FileOpenTitle);
    const QString filter = m_template ? m_template->GetFilterEntry() : QString();
    request.filter = filter + LoadResString(AppString::AllFilesFilter) + QStringLiteral("|*.*||");
    request.initialFolder = LastDocumentFolder;
    const QString path = Prompts().GetOpenFileName(request);
    if (!path.isEmpty())
        OpenDocumentFile(path);
}

void CWVDDesignerApp::OnOpenRecentFile(UINT id)
{
    const int index = static_cast<int>(id - ID_FILE_MRU_FILE1);
    const QString path = m_recentFiles[index];
    if (path.isEmpty())
        return;
    if (!OpenDocumentFile(path)) {
        // A document that cannot be opened leaves the list, unless it
        // merely stayed unopened because the user cancelled the save question.
        if (!QFileInfo(path).isFile())
            m_recentFiles.Remove(index);
    }
}

void CWVDDesignerApp::OnNewWindow()
{
    const QString program = m_env.programPath.isEmpty() ? QCoreApplication::applicationFilePath() : m_env.programPath;
    const QStringList arguments{QStringLiteral("/NoSplash")};
    if (m_env.startProcess)
        m_env.startProcess(program, arguments);
    else
        QProcess::startDetached(program, arguments);
}

void CWVDDesignerApp::OnAppAbout()
{
    CAboutBox about(GetMainFrame());
    about.exec();
}

QPrinter* CWVDDesignerApp::GetPrinter()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>();
    return m_printer.get();
}

void CWVDDesignerApp::SetPrinterOrientation(BOOL landscape)
{
    GetPrinter()->setPageOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
}

void CWVDDesignerApp::OnFilePrintSetup()
{
    QPageSetupDialog dialog(GetPrinter(), GetMainFrame());
    dialog.exec();
}

QString CWVDDesignerApp::GetHelpFilePath() const
{
    if (!m_env.helpFile.isEmpty())
        return m_env.helpFile;
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("help/index.html"));
}

void CWVDDesignerApp::OnHelp()
{
    const DWORD context = HelpPromptContext();
    if (context != 0)
        ShowHelp(context, HELP_CONTEXT);
    else
        ShowHelp(0, HELP_CONTENTS);
}

void CWVDDesignerApp::ShowHelp(DWORD data, UINT command)
{
    const QString helpFile = GetHelpFilePath();
    if (!QFileInfo(helpFile).isFile()) {
        AfxMessageBox(FormatResMessage(AppString::HelpFileMissing, helpFile));
        return;
    }
    Prompts().BeginWaitCursor();
    UINT htmlCommand = command;
    switch (command) {
    case HELP_CONTEXT:
        htmlCommand = HH_HELP_CONTEXT;
        break;
    case HELP_CONTENTS:
        htmlCommand = HH_DISPLAY_TOC;
        break;
    case HELP_FINDER:
        htmlCommand = HH_DISPLAY_TOPIC;
        break;
    default:
        break;
    }
    bool shown = kwvd::HtmlHelp(helpFile, htmlCommand, data);
    if (!shown) {
        if (m_preferences.EnableDebugServices == 1)
            AfxMessageBox(
                FillHelpDebugText(LoadResString(AppString::HelpDebugFailure), HelpCommandName(htmlCommand), data));
        shown = kwvd::HtmlHelp(helpFile, HH_DISPLAY_TOC, 0);
    }
    Prompts().EndWaitCursor();
    // Without a program for web pages the user can still open the page.
    if (!shown)
        AfxMessageBox(
            FormatResMessage(AppString::HelpNoViewer, QDir::toNativeSeparators(QFileInfo(helpFile).absoluteFilePath())),
            MB_OK | MB_ICONINFORMATION);
}
