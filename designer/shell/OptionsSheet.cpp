#include "designer/shell/OptionsSheet.h"

#include "designer/document/DesignerDoc.h"
#include "designer/preferences/ElementColourTable.h"
#include "designer/preferences/Preferences.h"
#include "designer/shell/MainFrame.h"
#include "designer/shell/OptionsAS400PropPageView.h"
#include "designer/shell/OptionsDirectoryPropPageView.h"
#include "designer/shell/OptionsGeneralPropPageView.h"
#include "designer/shell/OptionsLanguagePropPageView.h"
#include "designer/shell/WVDDesignerApp.h"
#include "designer/views/FrameInterfaces.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

#include <array>
#include <functional>
#include <memory>

namespace {

// A page as the sheet sees it: its model and the view made the first time
// it is shown.
class OptionsSheetPage : public CNavigationSheetPage
{
public:
    using ViewFactory = std::function<COptionsPropPageView*(QWidget* parent)>;

    OptionsSheetPage(std::unique_ptr<COptionsPropPage> model, ViewFactory makeView)
        : m_model(std::move(model)), m_makeView(std::move(makeView))
    {}
    ~OptionsSheetPage() override
    {
        // The sheet deletes the view first; one still standing must not
        // outlive the model it shows.
        delete m_view;
    }

    QString Title() const override { return m_model->GetTitle(); }
    QWidget* CreateView(QWidget* parent) override
    {
        m_view = m_makeView(parent);
        QObject::connect(m_view, &QObject::destroyed, [this] { m_view = nullptr; });
        return m_view;
    }
    bool OnKillActive() override { return !m_view || m_view->UpdateData(true); }
    bool OnApply() override
    {
        if (m_view)
            m_view->Apply();
        return true;
    }

private:
    std::unique_ptr<COptionsPropPage> m_model;
    ViewFactory m_makeView;
    COptionsPropPageView* m_view = nullptr;
};

template <class Page, class View>
Page* AddOptionsPage(CNavigationSheet& sheet)
{
    auto model = std::make_unique<Page>();
    Page* page = model.get();
    sheet.AddPage(std::make_unique<OptionsSheetPage>(std::move(model),
                                                     [page](QWidget* parent) { return new View(*page, parent); }));
    return page;
}

constexpr COLORREF Inverted(COLORREF colour)
{
    return kwvd::ColourRef(255 - kwvd::RedOf(colour), 255 - kwvd::GreenOf(colour), 255 - kwvd::BlueOf(colour));
}

// The thirteen element colour preferences in the table's row order.
std::array<COLORREF CPreferences::*, kNoPrintBorderRow> ElementColourFields()
{
    return {&CPreferences::ColourElementSource,      &CPreferences::ColourElementEraser,
            &CPreferences::ColourElementText,        &CPreferences::ColourElementLoop,
            &CPreferences::ColourElementConditional, &CPreferences::ColourElementExitParam,
            &CPreferences::ColourElementVariable,    &CPreferences::ColourElementAddress,
            &CPreferences::ColourElementBarcode,     &CPreferences::ColourElementImage,
            &CPreferences::ColourElementXmlElement,  &CPreferences::ColourElementXmlAttribute,
            &CPreferences::ColourElementXmlComment};
}

struct OptionsText
{
    UINT dialog;
    UINT control;
    const char* text;
};

const OptionsText kOptionsTexts[] = {
    {134, 0, "General"},
    {134, 0xFF01, "Default Zoom Levels"},
    {134, 1161, "Input Window:"},
    {134, 1158, "Output Window:"},
    {134, 0xFF02, "General"},
    {134, 1160, "Show Splash Window on Startup"},
    {134, 1159, "Image Export Format:"},
    {134, 1162, "Undo Buffer Size (MB):"},
    {134, 0xFF03, "Element Colours"},
    {134, 1157, "Change..."},
    {133, 0, "Directories"},
    {133, 0xFF01, "Default Directories."},
    {133, 1080, "Documents:"},
    {133, 1081, "..."},
    {133, 1082, "Images:"},
    {133, 1083, "..."},
    {133, 1084, "Spooled Files:"},
    {133, 1085, "..."},
    {133, 0xFF10, "Select Directory"},
    {132, 0, "Server"},
    {132, 1019, "System Name:"},
    {132, 0xFF01, "Spooled file Defaults"},
    {132, 1016, "Print Queue:"},
    {132, 1017, "Library:"},
    {132, 1015, "Max Pages:"},
    {132, 1013, "Installed Font Libraries"},
    {132, 1021, "JVX File Version:"},
    {132, 1011, "Export Path:"},
    {132, 1012, "..."},
    {132, 1014, "Library:"},
    {132, 1020, "Use Sockets"},
    {132, 1018, "Port:"},
    {132, 1022, "Dorrel Address:"},
    {135, 0, "Language"},
    {135, 1194, "Default Codepage:"},
    {135, 1195, "Default Display Font Character Set:"},
    {135, 1193, "Default Server Font Codepage Name:"},
};

} // namespace

void RegisterOptionsStrings()
{
    StringTable::Add(COptionsSheet::IDS_OPTIONS, QStringLiteral("Options"));
    for (const OptionsText& entry : kOptionsTexts)
        StringTable::Add(DialogTextId(entry.dialog, entry.control), QString::fromUtf8(entry.text));
}

COptionsSheet::COptionsSheet(QWidget* parent)
    : CNavigationSheet((RegisterOptionsStrings(), LoadResString(IDS_OPTIONS)), parent)
{
    SetNavigationWidth(kDefaultNavigationWidth);
    m_general = AddOptionsPage<COptionsGeneralPropPage, COptionsGeneralPropPageView>(*this);
    m_directories = AddOptionsPage<COptionsDirectoryPropPage, COptionsDirectoryPropPageView>(*this);
    m_server = AddOptionsPage<COptionsAS400PropPage, COptionsAS400PropPageView>(*this);
    m_language = AddOptionsPage<COptionsLanguagePropPage, COptionsLanguagePropPageView>(*this);
}

COptionsSheet::~COptionsSheet() = default;

void COptionsSheet::Fill(const CPreferences& preferences)
{
    ElementColourTableRows& colours = ElementColourTable();
    const auto fields = ElementColourFields();
    for (size_t row = 0; row < fields.size(); ++row)
        colours[row].colour = preferences.*fields[row];
    m_invertedBorder = Inverted(preferences.ColourNoPrintBorder);
    colours[kNoPrintBorderRow].colour = m_invertedBorder;

    COptionsGeneralPropPage& general = *m_general;
    general.splash = preferences.ShowSplashWindow;
    general.undoBufferSize = preferences.MaximumUndoBufferSize;
    general.imageFormat = preferences.ImageExportFormat;
    general.zoomSource = preferences.ZoomSource;
    general.zoomDest = preferences.ZoomDest;
    general.zoomFitSource = preferences.ZoomFitSource;
    general.zoomFitDest = preferences.ZoomFitDest;

    m_directories->docDirectory = preferences.DefaultDocDirectory;
    m_directories->imageDirectory = preferences.DefaultImageDirectory;
    m_directories->spooledFileDirectory = preferences.DefaultSpooledFileDirectory;

    COptionsAS400PropPage& server = *m_server;
    server.system = preferences.DefaultSystem;
    server.library = preferences.DefaultLibrary;
    server.exportPath = preferences.DefaultExportPath;
    server.outputQueue = preferences.DefaultOutputQueue;
    server.outputQueueLibrary = preferences.DefaultOutputQueueLibrary;
    server.maxSpooledFilePages = preferences.MaxSpooledFilePages;
    server.jvxVersion = preferences.DefaultJVXVersion;
    server.useSockets = preferences.ExportUsingSockets;
    server.socketsPort = preferences.ExportSocketsPort;
    // An empty address shows the one computed from the system.
    server.dorrelAddress = preferences.GetDorrelBaseUrl();

    m_language->charSet = preferences.GetDefaultCharSet();
    m_language->codePageId = preferences.DefaultCodePageID;
    m_language->serverCodePage = preferences.DefaultCodePage;
}

bool COptionsSheet::DoModal()
{
    // The first page is made before the window opens, so the window is sized
    // for it rather than for an empty page.
    if (GetActiveIndex() < 0) {
        SetActivePage(0);
        adjustSize();
    }
    return exec() == QDialog::Accepted;
}

bool COptionsSheet::WriteBack(CPreferences& preferences, QString& lastDocumentFolder) const
{
    if (m_directories->docDirectory != preferences.DefaultDocDirectory) {
        preferences.DefaultDocDirectory = m_directories->docDirectory;
        lastDocumentFolder = m_directories->docDirectory;
    }
    preferences.DefaultImageDirectory = m_directories->imageDirectory;
    preferences.DefaultSpooledFileDirectory = m_directories->spooledFileDirectory;

    const COptionsGeneralPropPage& general = *m_general;
    preferences.ZoomFitSource = general.zoomFitSource;
    preferences.ZoomFitDest = general.zoomFitDest;
    preferences.ZoomSource = general.zoomSource;
    preferences.ZoomDest = general.zoomDest;
    preferences.ShowSplashWindow = general.splash;
    if (general.imageFormat >= 0 && general.imageFormat <= 3)
        preferences.ImageExportFormat = general.imageFormat;
    if (general.undoBufferSize != preferences.MaximumUndoBufferSize && general.undoBufferSize >= 0
        && general.undoBufferSize <= COptionsGeneralPropPage::kUndoSizeMax)
        preferences.MaximumUndoBufferSize = general.undoBufferSize;

    const COptionsAS400PropPage& server = *m_server;
    preferences.DefaultSystem = server.system;
    preferences.DefaultLibrary = server.library.trimmed();
    preferences.SetDefaultExportPath(server.exportPath);
    preferences.DefaultOutputQueue = server.outputQueue;
    preferences.DefaultOutputQueueLibrary = server.outputQueueLibrary;
    preferences.MaxSpooledFilePages = server.maxSpooledFilePages;
    preferences.DefaultJVXVersion =
        server.jvxVersion < 1 || server.jvxVersion > COptionsAS400PropPage::kNewestJvxVersion
            ? COptionsAS400PropPage::kNewestJvxVersion
            : server.jvxVersion;
    preferences.ExportUsingSockets = server.useSockets;
    preferences.ExportSocketsPort = server.socketsPort;
    preferences.DorrelAddress = server.dorrelAddress;

    preferences.DefaultCodePageID = m_language->codePageId;
    preferences.SetDefaultCharSet(m_language->charSet);
    preferences.DefaultCodePage = m_language->serverCodePage;

    bool coloursChanged = false;
    const ElementColourTableRows& colours = ElementColourTable();
    const auto fields = ElementColourFields();
    for (size_t row = 0; row < fields.size(); ++row) {
        if (colours[row].colour != preferences.*fields[row]) {
            preferences.*fields[row] = colours[row].colour;
            coloursChanged = true;
        }
    }
    if (colours[kNoPrintBorderRow].colour != m_invertedBorder) {
        preferences.ColourNoPrintBorder = Inverted(colours[kNoPrintBorderRow].colour);
        coloursChanged = true;
    }
    return coloursChanged;
}

void COptionsSheet::ApplyColourChange(CDesignerDoc* doc, IExplorerPane* explorer)
{
    if (doc == nullptr)
        return;
    doc->RevalidateElements(0);
    if (doc->GetChangeDepth() != 0)
        return;
    doc->UpdateAllViews(nullptr, DocumentHint::OptionsChanged, nullptr);
    if (explorer != nullptr)
        explorer->OnDocumentHint(nullptr, DocumentHint::OptionsChanged);
}

// The application's command: the sheet works on copies and the preferences
// change only after OK.
void CWVDDesignerApp::OnOptions()
{
    CMainFrame* frame = GetMainFrame();
    COptionsSheet sheet(frame);
    sheet.Fill(m_preferences);
    if (!sheet.DoModal())
        return;
    if (sheet.WriteBack(m_preferences, LastDocumentFolder))
        COptionsSheet::ApplyColourChange(GetDocument(), frame != nullptr ? frame->GetExplorerPane() : nullptr);
}
