#include "designer/shell/MainFrame.h"

#include "designer/commands/CommandIds.h"
#include "designer/commands/CommandRouter.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/elements/FormElement.h"
#include "designer/preferences/Preferences.h"
#include "designer/shell/AppStrings.h"
#include "designer/shell/CustomizeDlg.h"
#include "designer/shell/LayoutSlots.h"
#include "designer/shell/Looks.h"
#include "designer/shell/ShellResources.h"
#include "designer/shell/UserToolBars.h"
#include "designer/views/DesignView.h"
#include "platform/registry/RegistryStore.h"
#include "platform/ui/StringTable.h"
#include "platform/ui/WaitCursor.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QToolBar>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <cmath>

namespace {

enum class ToolRule {
    Always,
    AnyDocument,
    SpooledFileDocument,
    XmlDocument
};

struct ToolDef
{
    UINT id;
    WORD tool;
    ToolRule rule;
};

constexpr ToolDef kTools[] = {
    {ID_TOOL_SELECT, 0, ToolRule::Always},
    {ID_TOOL_SPOOLED_FILE, 1, ToolRule::SpooledFileDocument},
    {ID_TOOL_LOOP, 2, ToolRule::AnyDocument},
    {ID_TOOL_CONDITIONAL, 3, ToolRule::AnyDocument},
    {ID_TOOL_IMAGE, 4, ToolRule::SpooledFileDocument},
    {ID_TOOL_STATIC_TEXT, 5, ToolRule::SpooledFileDocument},
    {ID_TOOL_EXIT_PARAMETER, 6, ToolRule::AnyDocument},
    {ID_TOOL_VARIABLE, 7, ToolRule::AnyDocument},
    {ID_TOOL_ADDRESS, 8, ToolRule::AnyDocument},
    {ID_TOOL_ERASER, 9, ToolRule::SpooledFileDocument},
    {ID_TOOL_BARCODE, 10, ToolRule::SpooledFileDocument},
    {ID_TOOL_XML_ELEMENT, 16, ToolRule::XmlDocument},
    {ID_TOOL_XML_ATTRIBUTE, 26, ToolRule::XmlDocument},
    {ID_TOOL_XML_COMMENT, 27, ToolRule::XmlDocument},
};

const ToolDef* FindTool(UINT id)
{
    for (const ToolDef& def : kTools)
        if (def.id == id)
            return &def;
    return nullptr;
}

constexpr LPARAM HintSelectionChanged = 245;
constexpr LPARAM HintElementRemoved = 247;
constexpr LPARAM HintUndoRestoreEnded = 253;
constexpr LPARAM HintNewOrOpenDone = 254;

const QString kApplicationLook = QStringLiteral("ApplicationLook");

bool IsAncestorOrSelf(const QWidget* ancestor, const QWidget* widget)
{
    return ancestor && widget && (ancestor == widget || ancestor->isAncestorOf(widget));
}

} // namespace

CMainFrame::CMainFrame(CCmdTarget* application)
    : m_application(application), m_stateSection(QString::fromLatin1(WORKSPACE_SECTION))
{
    RegisterShellResources();
    RegisterDesignerMessages();
    ToolLock = Preferences().StickyTools ? TRUE : FALSE;
    m_router = std::make_unique<CCommandRouter>([this] { return RouteTargets(); });
    m_userToolBars = std::make_unique<CUserToolBars>(
        *this, [this](UINT id) { return GetAction(id); },
        [this](QAction* action, UINT id) { m_router->Bind(action, id); });
    m_userToolBars->SetBarCreatedHook([](QToolBar* bar) { bar->setFloatable(true); });

    m_applicationLook = DEFAULT_APPLICATION_LOOK;
    if (const auto section = OpenStateSection(m_stateSection, false))
        if (const auto look = kwvd::RegistryStore::Instance().ReadNumber(*section, kApplicationLook))
            m_applicationLook = *look;

    setObjectName(QStringLiteral("MainFrame"));
    RegisterHandlers();
}

CMainFrame::~CMainFrame()
{
    if (m_pDocument)
        m_pDocument->RemoveChangeListener(this);
    m_findDialog.reset();
    m_propertySheet.reset();
    m_explorer.reset();
}

// ---------------------------------------------------------------- creation

BOOL CMainFrame::LoadFrame()
{
    UpdateFrameTitle();
    BuildClient();
    BuildMenus();
    BuildToolBars();
    BuildStatusBar();
    BuildExplorerDock();
    if (!m_splitter || !m_toolsBar || !m_standardBar || !m_explorerDock || m_statusPanes.empty())
        return FALSE;
    OnPaneCommand(ID_VIEW_BOTH_PANES);
    SetApplicationLook(m_applicationLook);
    if (!LoadWorkspaceState())
        ApplyDefaultGeometry();
    UpdateCommandUI();
    // The toolbars and keys follow the state of the program between user
    // actions too, as the menus do when they open.
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, [this] { UpdateCommandUI(); });
    idle->start(250);
    return TRUE;
}

QAction* CMainFrame::EnsureAction(UINT id)
{
    if (QAction* action = m_actions.value(id))
        return action;
    auto* action = new QAction(this);
    const QString text = StringTable::Find(MenuTextId(id)).value_or(QString());
    action->setText(text.section(u'\t', 0, 0));
    const QString tip = CommandTip(id);
    if (!tip.isEmpty())
        action->setToolTip(tip);
    action->setIcon(CommandIcon(id, m_highColourIcons));
    action->setObjectName(QStringLiteral("Command-%1").arg(id));
    // The keys work without the menu shown: the window holds every action.
    addAction(action);
    m_router->Bind(action, id);
    m_actions.insert(id, action);
    return action;
}

QAction* CMainFrame::GetAction(UINT id) const
{
    return m_actions.value(id);
}

void CMainFrame::BuildMenus()
{
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MenuBar"));
    bar->clear();
    // The menus of an earlier build (another language) go later: the command
    // that rebuilds them may have come from one of them.
    for (QMenu* old : bar->findChildren<QMenu*>(QString(), Qt::FindDirectChildrenOnly)) {
        old->setObjectName(QString());
        for (QMenu* sub : old->findChildren<QMenu*>())
            sub->setObjectName(QString());
        old->deleteLater();
    }

    std::function<void(QMenu*, const std::vector<MenuNode>&)> fill = [&](QMenu* menu,
                                                                         const std::vector<MenuNode>& nodes) {
        for (const MenuNode& node : nodes) {
            switch (node.kind) {
            case MenuNode::Kind::Separator:
                menu->addSeparator();
                break;
            case MenuNode::Kind::Item:
                menu->addAction(EnsureAction(node.id));
                break;
            case MenuNode::Kind::Popup: {
                QMenu* sub = menu->addMenu(LoadResString(node.textId));
                sub->setObjectName(node.name);
                fill(sub, node.children);
                break;
            }
            }
        }
    };

    for (const MenuNode& top : LoadMenuResource(IDR_MAINFRAME)) {
        QMenu* menu = bar->addMenu(LoadResString(top.textId));
        menu->setObjectName(top.name);
        fill(menu, top.children);
    }
    // Every menu brings its items up to date when it opens.
    for (QMenu* menu : bar->findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, this, [this] { UpdateCommandUI(); });

    if (QMenu* toolbars = GetMenu(QStringLiteral("Toolbars"))) {
        connect(toolbars, &QMenu::aboutToShow, this, [this, toolbars] {
            toolbars->clear();
            for (QToolBar* tb : findChildren<QToolBar*>())
                toolbars->addAction(tb->toggleViewAction());
            if (m_explorerDock)
                toolbars->addAction(m_explorerDock->toggleViewAction());
            toolbars->addSeparator();
            toolbars->addAction(EnsureAction(ID_VIEW_CUSTOMIZE));
        });
    }

    if (EnsureAction(ID_VIEW_APPLOOK_WIN_2000)->actionGroup() == nullptr) {
        auto* looks = new QActionGroup(this);
        for (UINT id = ID_VIEW_APPLOOK_WIN_2000; id <= ID_VIEW_APPLOOK_OFF_2007_AQUA; ++id) {
            QAction* action = EnsureAction(id);
            action->setCheckable(true);
            looks->addAction(action);
        }
    }
    AttachLanguageMenu();
    LoadAccelerators();
}

void CMainFrame::LoadAccelerators()
{
    // Keys of the accelerator table; several keys can carry one command. A
    // key no longer in the table must not keep its command.
    for (QAction* action : std::as_const(m_actions))
        action->setShortcuts({});
    QHash<UINT, QList<QKeySequence>> keys;
    for (const AccelEntry& entry : LoadAcceleratorTable(IDR_MAINFRAME))
        keys[entry.id].append(entry.key);
    for (auto it = keys.begin(); it != keys.end(); ++it)
        EnsureAction(it.key())->setShortcuts(it.value());
}

void CMainFrame::BuildToolBars()
{
    auto makeBar = [this](UINT titleId, const QString& objectName) {
        auto* bar = new QToolBar(LoadResString(titleId), this);
        bar->setObjectName(objectName);
        bar->setIconSize(QSize(16, 16));
        addToolBar(Qt::TopToolBarArea, bar);
        return bar;
    };
    m_standardBar = makeBar(IDS_TOOLBAR_STANDARD, QStringLiteral("Standard"));
    m_toolsBar = makeBar(IDS_TOOLBAR_TOOLS, QStringLiteral("Tools"));
    for (UINT id : LoadToolBarResource(IDR_MAINFRAME))
        id == 0 ? (void)m_standardBar->addSeparator() : m_standardBar->addAction(EnsureAction(id));
    for (UINT id : LoadToolBarResource(IDR_TOOLS))
        id == 0 ? (void)m_toolsBar->addSeparator() : m_toolsBar->addAction(EnsureAction(id));
    for (const ToolDef& def : kTools)
        EnsureAction(def.id)->setCheckable(true);
    EnsureAction(ID_TOOL_LOCK)->setCheckable(true);
}

QMenu* CMainFrame::createPopupMenu()
{
    QMenu* menu = QMainWindow::createPopupMenu();
    if (menu == nullptr)
        menu = new QMenu(this);
    menu->addSeparator();
    menu->addAction(EnsureAction(ID_VIEW_CUSTOMIZE));
    return menu;
}

void CMainFrame::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar"));
    m_statusPanes.clear();
    auto* message = new QLabel(LoadResString(IDS_IDLE_MESSAGE), bar);
    message->setObjectName(QStringLiteral("MessagePane"));
    bar->addWidget(message, 1);
    m_statusPanes.push_back(message);
    for (UINT id : {ID_INDICATOR_PAGE, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL}) {
        auto* pane = new QLabel(bar);
        pane->setObjectName(QStringLiteral("Indicator-%1").arg(id));
        // Sized for the longest text the pane shows.
        pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(LoadResString(id)) + 8);
        pane->setAlignment(Qt::AlignCenter);
        if (id != ID_INDICATOR_PAGE) {
            // The desktop does not tell us the lock keys' state: the
            // indicators stay greyed.
            pane->setText(LoadResString(id));
            pane->setEnabled(false);
        }
        bar->addPermanentWidget(pane);
        m_statusPanes.push_back(pane);
    }
    EnsureAction(ID_VIEW_STATUS_BAR)->setCheckable(true);
}

QLabel* CMainFrame::GetStatusPane(int index) const
{
    return index >= 0 && index < int(m_statusPanes.size()) ? m_statusPanes[size_t(index)] : nullptr;
}

void CMainFrame::BuildClient()
{
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName(QStringLiteral("Splitter"));
    m_splitter->setChildrenCollapsible(true);
    for (int column = 0; column < 2; ++column) {
        auto* pane = new QWidget(m_splitter);
        pane->setObjectName(column == 0 ? QStringLiteral("InputPane") : QStringLiteral("OutputPane"));
        pane->setAutoFillBackground(true);
        QPalette palette = pane->palette();
        palette.setColor(QPalette::Window, Qt::white);
        pane->setPalette(palette);
        m_splitter->addWidget(pane);
    }
    setCentralWidget(m_splitter);
    m_splitterReady = TRUE;
    m_activeColumn = 1;
}

void CMainFrame::BuildExplorerDock()
{
    m_explorerDock = new QDockWidget(LoadResString(IDS_EXPLORER), this);
    m_explorerDock->setObjectName(QStringLiteral("Explorer"));
    m_explorerDock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable
                                | QDockWidget::DockWidgetFloatable);
    auto* placeholder = new QWidget(m_explorerDock);
    placeholder->setMinimumSize(200, 200);
    m_explorerDock->setWidget(placeholder);
    addDockWidget(Qt::LeftDockWidgetArea, m_explorerDock);
    // Without the explorer's own code the dock has nothing to show.
    m_explorerDock->setVisible(m_explorer != nullptr);
    if (m_explorer)
        m_explorerDock->setWidget(m_explorer->GetWidget());
    EnsureAction(ID_VIEW_EXPLORER)->setCheckable(true);
}

// ---------------------------------------------------------------- panes

void CMainFrame::SetPaneView(int column, QWidget* view, CCmdTarget* target)
{
    if (!m_splitter || column < 0 || column > 1 || !view)
        return;
    const auto [w0, w1] = GetColumnWidths();
    QWidget* old = m_splitter->replaceWidget(column, view);
    if (old && old != view) {
        // A pane on its way out must not hear of the document any more.
        if (auto* pane = dynamic_cast<CDesignView*>(old))
            pane->SetDocument(nullptr);
        old->deleteLater();
    }
    if (auto* pane = dynamic_cast<CDesignView*>(view)) {
        pane->SetDesignFrame(this);
        pane->SetDocument(m_pDocument);
    }
    m_paneTargets[column] = target;
    SetColumnWidths(w0, w1);
}

void CMainFrame::InitialUpdatePanes()
{
    for (int column = 0; column < 2; ++column)
        if (auto* pane = dynamic_cast<CDesignView*>(GetPaneView(column)))
            if (pane->GetDesignerDoc())
                pane->OnInitialUpdate();
}

QWidget* CMainFrame::GetPaneView(int column) const
{
    return m_splitter && column >= 0 && column < 2 ? m_splitter->widget(column) : nullptr;
}

void CMainFrame::SetActivePaneColumn(int column)
{
    if (column != 0 && column != 1)
        return;
    m_activeColumn = column;
    if (QWidget* view = GetPaneView(column))
        view->setFocus();
}

void CMainFrame::SetColumnWidths(int width0, int width1)
{
    if (!m_splitter)
        return;
    m_splitter->setSizes({std::max(0, width0), std::max(0, width1)});
}

std::pair<int, int> CMainFrame::GetColumnWidths() const
{
    if (!m_splitter || m_splitter->count() < 2)
        return {0, 0};
    const QList<int> sizes = m_splitter->sizes();
    return {sizes.value(0), sizes.value(1)};
}

double CMainFrame::ColumnRatio() const
{
    const auto [w0, w1] = GetColumnWidths();
    const int total = w0 + w1;
    return total > 0 ? double(w0) / double(total) : 0.5;
}

void CMainFrame::ApplyColumnRatio(double ratio)
{
    const auto [w0, w1] = GetColumnWidths();
    const int total = w0 + w1;
    const int new0 = int(total * ratio);
    const int new1 = int(total * (1.0 - ratio));
    if (new0 != w0 || new1 != w1)
        SetColumnWidths(new0, new1);
}

void CMainFrame::OnPaneCommand(UINT id)
{
    const auto [w0, w1] = GetColumnWidths();
    const int total = w0 + w1;
    switch (id) {
    case ID_VIEW_BOTH_PANES:
        SetColumnWidths(total / 2, total - total / 2);
        break;
    case ID_VIEW_OUTPUT_PANE:
        SetColumnWidths(0, total);
        SetActivePaneColumn(1);
        break;
    case ID_VIEW_INPUT_PANE:
        SetColumnWidths(total, 0);
        SetActivePaneColumn(0);
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------- document

void CMainFrame::SetDocument(CDesignerDoc* doc)
{
    if (m_pDocument == doc)
        return;
    if (m_pDocument)
        m_pDocument->RemoveChangeListener(this);
    m_pDocument = doc;
    if (doc) {
        doc->AddChangeListener(this);
        FrameDocType = doc->GetDocType();
    }
    for (int column = 0; column < 2; ++column)
        if (auto* pane = dynamic_cast<CDesignView*>(GetPaneView(column)))
            pane->SetDocument(doc);
    if (m_explorer)
        m_explorer->SetDocument(doc);
    if (m_findDialog) {
        m_findDialog->SetDocument(doc);
        m_findDocument = doc;
    }
    UpdateFrameTitle();
    UpdateCommandUI();
}

void CMainFrame::OnTitleChanged(CDesignerDoc* doc)
{
    if (doc == m_pDocument)
        UpdateFrameTitle();
}

void CMainFrame::UpdateFrameTitle()
{
    const QString program = LoadResString(AppString::AppTitle);
    const QString title = m_pDocument ? m_pDocument->GetTitle() : QString();
    setWindowTitle(title.isEmpty() ? program : title + QStringLiteral(" - ") + program);
}

void CMainFrame::OnDocumentChanged(LPARAM hint, CObject* sender, CObject* element)
{
    if (m_findDialog)
        m_findDialog->OnDocumentHint(hint, element);
    if (m_explorer && !m_explorer->IsSender(sender))
        m_explorer->OnDocumentHint(element, hint);
    if (m_propertySheet && !m_propertySheet->IsSender(sender)) {
        if (hint == HintSelectionChanged)
            m_propertySheet->SetElement(dynamic_cast<CFormElement*>(element));
        else if (hint == HintUndoRestoreEnded || hint == HintNewOrOpenDone)
            m_propertySheet->SetElement(nullptr);
        else if (hint == HintElementRemoved)
            m_propertySheet->OnElementRemoved(dynamic_cast<CFormElement*>(element));
    }
}

void CMainFrame::OnSetDocType(CView*, int docType, CDesignerDoc* doc)
{
    // The type message is handled later, as the document posts it.
    QCoreApplication::postEvent(this,
                                new CRegisteredMessageEvent(RegisteredMessages::SetDocType(), std::uintptr_t(docType),
                                                            reinterpret_cast<std::intptr_t>(doc)));
}

void CMainFrame::OnSetDocTypeMessage(std::intptr_t lParam)
{
    // Only the frame's own document is trusted: the number may name a
    // document that closed since the message was posted.
    auto* doc = reinterpret_cast<CDesignerDoc*>(lParam);
    if (!doc || doc != m_pDocument)
        return;
    FrameDocType = doc->GetDocType();
    if (FrameDocType == 1) {
        const auto [w0, w1] = GetColumnWidths();
        SetColumnWidths(w0 + w1, 0);
    }
    UpdateCommandUI();
}

void CMainFrame::OnElementsRevalidated(CDesignerDoc*)
{
    RefreshPropertySheet();
}

void CMainFrame::OnDocumentClosing(CDesignerDoc* doc)
{
    if (m_findDialog)
        m_findDialog.reset();
    if (doc == m_pDocument)
        SetDocument(nullptr);
}

// ---------------------------------------------------------------- panes' side
CFormElement* CMainFrame::GetAnchorElement() const
{
    return m_explorer ? m_explorer->GetSelectedElement() : nullptr;
}

void CMainFrame::NotifyExplorer(CObject* element, LPARAM hint)
{
    if (m_explorer)
        m_explorer->OnDocumentHint(element, hint);
}

void CMainFrame::SetPropertySheetElement(CFormElement* element)
{
    if (m_propertySheet)
        m_propertySheet->SetElement(element);
}

std::optional<kwvd::RegistryKey> CMainFrame::OpenLayoutKey(const QString& subsection, bool create)
{
    if (subsection.isEmpty())
        return std::nullopt;
    return OpenStateSection(m_stateSection + u'\\' + subsection, create);
}

void CMainFrame::OnPaneActivated(CDesignView* pane)
{
    // Only the route changes: the pane already has the focus.
    for (int column = 0; column < 2; ++column)
        if (pane && GetPaneView(column) == pane)
            m_activeColumn = column;
}

// ---------------------------------------------------------------- spooled file
void CMainFrame::TurnSpooledPage(bool next)
{
    // A page turn marks the document modified but is no undo step.
    if (m_pDocument)
        next ? m_pDocument->OnNextSpooledPage() : m_pDocument->OnPrevSpooledPage();
}

// ---------------------------------------------------------------- saving

void CMainFrame::OnFileSave()
{
    if (!m_pDocument)
        return;
    // An untitled document's save chooser starts in the documents' folder.
    const QString folder = Preferences().DefaultDocDirectory;
    if (!folder.isEmpty())
        QDir::setCurrent(folder);
    m_pDocument->DoFileSave();
}

void CMainFrame::OnFileSaveAs()
{
    if (m_pDocument)
        m_pDocument->DoSave(QString(), TRUE);
}

BOOL CMainFrame::CanCloseFrame()
{
    return !m_pDocument || m_pDocument->SaveModified();
}

void CMainFrame::ApplyDefaultGeometry()
{
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where)
        return;
    const QRect available = where->availableGeometry();
    QRect frame(QPoint(0, 0), available.size() * 3 / 4);
    frame.moveCenter(available.center());
    resize(frame.size());
    move(frame.topLeft());
}

// ---------------------------------------------------------------- tools

void CMainFrame::BroadcastSetTool(WORD tool)
{
    const QEvent::Type type = RegisteredMessages::SetTool();
    for (QWidget* child : findChildren<QWidget*>()) {
        CRegisteredMessageEvent event(type, 0, tool);
        QCoreApplication::sendEvent(child, &event);
    }
    emit toolChanged(tool);
}

void CMainFrame::SetCurrentTool(WORD tool)
{
    CurrentTool = tool;
    BroadcastSetTool(tool);
}

void CMainFrame::ResetToolUnlessLocked()
{
    if (ToolLock)
        return;
    SetCurrentTool(0);
}

void CMainFrame::OnToolCommand(UINT id)
{
    if (const ToolDef* def = FindTool(id))
        SetCurrentTool(def->tool);
}

void CMainFrame::OnUpdateTool(CCmdUI& ui)
{
    const ToolDef* def = FindTool(ui.m_nID);
    if (!def)
        return;
    bool enabled = true;
    switch (def->rule) {
    case ToolRule::Always:
        break;
    case ToolRule::AnyDocument:
        enabled = m_pDocument != nullptr;
        break;
    case ToolRule::SpooledFileDocument:
        enabled = m_pDocument && m_pDocument->GetDocType() == 0;
        break;
    case ToolRule::XmlDocument:
        enabled = m_pDocument && m_pDocument->GetDocType() == 1;
        break;
    }
    ui.Enable(enabled);
    if (!enabled && CurrentTool == def->tool)
        SetCurrentTool(0);
    ui.SetCheck(CurrentTool == def->tool ? 1 : 0);
}

// ---------------------------------------------------------------- sheet, find

void CMainFrame::SetExplorerPane(std::unique_ptr<IExplorerPane> pane)
{
    m_explorer = std::move(pane);
    if (m_explorerDock) {
        if (m_explorer) {
            m_explorerDock->setWidget(m_explorer->GetWidget());
            m_explorerDock->setVisible(true);
        } else {
            m_explorerDock->setVisible(false);
        }
    }
    if (m_explorer)
        m_explorer->SetDocument(m_pDocument);
}

void CMainFrame::SetPropertySheet(std::unique_ptr<IElementPropertySheet> sheet)
{
    m_propertySheet = std::move(sheet);
    if (m_propertySheet)
        m_propertySheet->HideSheet();
    UpdateCommandUI();
}

void CMainFrame::SetFindDialogFactory(FindDialogFactory factory)
{
    m_findFactory = std::move(factory);
}

void CMainFrame::ShowPropertySheet()
{
    if (!m_propertySheet)
        return;
    if (!m_propertySheet->IsShown())
        m_propertySheet->ShowSheet();
    m_propertySheet->SetActivePageIndex(1);
}

void CMainFrame::TogglePropertySheet()
{
    if (!m_propertySheet)
        return;
    if (m_propertySheet->IsShown())
        m_propertySheet->HideSheet();
    else
        m_propertySheet->ShowSheet();
}

BOOL CMainFrame::IsPropertySheetShown() const
{
    return m_propertySheet && m_propertySheet->IsShown() ? TRUE : FALSE;
}

void CMainFrame::RefreshPropertySheet()
{
    if (m_propertySheet && m_propertySheet->IsShown())
        m_propertySheet->RefreshPages();
}

void CMainFrame::ShowFindReplace(CDesignerDoc* doc)
{
    if (!m_findDialog) {
        if (!m_findFactory)
            return;
        m_findDialog = m_findFactory(this);
        if (!m_findDialog)
            return;
    }
    m_findDialog->SetDocument(doc);
    m_findDocument = doc;
    m_findDialog->RebuildElementList();
    if (QWidget* widget = m_findDialog->GetWidget(); widget && !widget->isVisible())
        widget->show();
}

// ---------------------------------------------------------------- handlers

void CMainFrame::RegisterHandlers()
{
    OnCommandRange(ID_TOOL_FIRST, ID_TOOL_LAST, [this](UINT id) {
        if (id == ID_TOOL_LOCK)
            ToolLock = !ToolLock;
        else
            OnToolCommand(id);
    });
    OnUpdateRange(ID_TOOL_FIRST, ID_TOOL_LAST, [this](CCmdUI& ui) {
        if (ui.m_nID == ID_TOOL_LOCK)
            ui.SetCheck(ToolLock ? 1 : 0);
        else if (FindTool(ui.m_nID))
            OnUpdateTool(ui);
        else
            ui.Enable(FALSE); // the unused numbers inside the range
    });

    OnCommandRange(ID_VIEW_BOTH_PANES, ID_VIEW_INPUT_PANE, [this](UINT id) { OnPaneCommand(id); });
    OnUpdateRange(ID_VIEW_BOTH_PANES, ID_VIEW_INPUT_PANE, [this](CCmdUI& ui) { ui.Enable(FrameDocType != 1); });

    OnCommand(ID_VIEW_EXPLORER, [this] {
        if (m_explorer && m_explorerDock)
            m_explorerDock->setVisible(!m_explorerDock->isVisible());
    });
    OnUpdate(ID_VIEW_EXPLORER, [this](CCmdUI& ui) {
        ui.Enable(m_explorer != nullptr);
        ui.SetCheck(m_explorer && m_explorerDock && m_explorerDock->isVisible() ? 1 : 0);
    });

    OnCommand(ID_EDIT_PROPERTIES, [this] { ShowPropertySheet(); });
    OnUpdate(ID_EDIT_PROPERTIES, [this](CCmdUI& ui) { ui.Enable(m_propertySheet != nullptr); });
    OnCommand(ID_EXPLORER_VIEW_PROPERTIES, [this] { TogglePropertySheet(); });
    OnUpdate(ID_EXPLORER_VIEW_PROPERTIES, [this](CCmdUI& ui) {
        ui.Enable(m_propertySheet != nullptr);
        ui.SetCheck(IsPropertySheetShown() ? 1 : 0);
    });

    OnCommand(ID_EDIT_FIND, [this] { ShowFindReplace(m_pDocument); });
    OnUpdate(ID_EDIT_FIND, [this](CCmdUI& ui) { ui.Enable(m_pDocument && (m_findDialog || m_findFactory)); });

    OnCommand(ID_VIEW_FULL_SCREEN, [this] { ToggleFullScreen(); });
    OnUpdate(ID_VIEW_FULL_SCREEN, [this](CCmdUI& ui) { ui.SetCheck(m_fullScreen ? 1 : 0); });

    OnCommandRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_2007_AQUA,
                   [this](UINT id) { SetApplicationLook(id); });
    OnUpdateRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_2007_AQUA,
                  [this](CCmdUI& ui) { ui.SetRadio(m_applicationLook == ui.m_nID); });

    OnCommand(ID_VIEW_CUSTOMIZE, [this] {
        CCustomizeDlg dialog(*this);
        dialog.exec();
    });

    OnCommand(ID_VIEW_STATUS_BAR, [this] { statusBar()->setVisible(!statusBar()->isVisible()); });
    OnUpdate(ID_VIEW_STATUS_BAR, [this](CCmdUI& ui) { ui.SetCheck(statusBar()->isVisible() ? 1 : 0); });

    OnCommand(ID_VIEW_NEXT_PAGE, [this] { TurnSpooledPage(true); });
    OnUpdate(ID_VIEW_NEXT_PAGE, [this](CCmdUI& ui) { ui.Enable(m_pDocument && m_pDocument->CanNextSpooledPage()); });
    OnCommand(ID_VIEW_PREV_PAGE, [this] { TurnSpooledPage(false); });
    OnUpdate(ID_VIEW_PREV_PAGE, [this](CCmdUI& ui) { ui.Enable(m_pDocument && m_pDocument->CanPrevSpooledPage()); });
    OnCommand(ID_FILE_SAVE, [this] { OnFileSave(); });
    OnUpdate(ID_FILE_SAVE, [this](CCmdUI& ui) { ui.Enable(m_pDocument && m_pDocument->IsModified()); });
    OnCommand(ID_FILE_SAVE_AS, [this] { OnFileSaveAs(); });
    OnUpdate(ID_FILE_SAVE_AS, [this](CCmdUI& ui) { ui.Enable(m_pDocument && m_pDocument->IsReady()); });
    OnCommand(ID_EDIT_UNDO, [this] {
        if (m_pDocument)
            m_pDocument->OnEditUndo();
    });
    OnUpdate(ID_EDIT_UNDO, [this](CCmdUI& ui) { ui.Enable(m_pDocument && m_pDocument->CanUndo()); });
    OnCommand(ID_EDIT_REDO, [this] {
        if (m_pDocument)
            m_pDocument->OnEditRedo();
    });
    OnUpdate(ID_EDIT_REDO, [this](CCmdUI& ui) { ui.Enable(m_pDocument && m_pDocument->CanRedo()); });
    // A document's own handler of the page pane comes first on the route.
    OnUpdate(ID_INDICATOR_PAGE, [this](CCmdUI& ui) {
        ui.Enable(m_pDocument != nullptr);
        ui.SetText(m_pDocument ? m_pDocument->GetSpooledPageIndicator() : QString());
    });
    RegisterWindowAndHelpHandlers();
    RegisterLanguageHandlers();
}

std::vector<CCmdTarget*> CMainFrame::RouteTargets() const
{
    std::vector<CCmdTarget*> chain;
    if (m_explorer && m_explorerDock && IsAncestorOrSelf(m_explorerDock, QApplication::focusWidget()))
        chain.push_back(m_explorer->GetCmdTarget());
    if (m_activeColumn >= 0 && m_activeColumn < 2)
        chain.push_back(m_paneTargets[m_activeColumn]);
    if (m_pDocument)
        chain.push_back(m_documentTarget);
    chain.push_back(const_cast<CMainFrame*>(this));
    chain.push_back(m_application);
    return chain;
}

BOOL CMainFrame::ExecuteCommand(UINT id)
{
    const BOOL handled = m_router->Execute(id);
    UpdateCommandUI();
    return handled;
}

void CMainFrame::UpdateCommandUI()
{
    const WORD toolBefore = CurrentTool;
    m_router->UpdateAll();
    // A tool that fell back to Select during the pass: the items already
    // passed show the old tool.
    if (CurrentTool != toolBefore)
        for (UINT id = ID_TOOL_FIRST; id <= ID_TOOL_LAST; ++id)
            m_router->Update(id);
    // The status panes are no actions: their texts come from the same pass.
    if (QLabel* page = GetStatusPane(1)) {
        const CCmdUI ui = m_router->Query(ID_INDICATOR_PAGE);
        page->setText(ui.GetText().value_or(QString()));
        page->setEnabled(ui.IsEnabled());
    }
}

QMenu* CMainFrame::GetMenu(const QString& objectName) const
{
    return menuBar()->findChild<QMenu*>(objectName);
}

// ---------------------------------------------------------------- layout

void CMainFrame::SendSerializeLayout(BOOL save)
{
    const QEvent::Type type = RegisteredMessages::SerializeLayout();
    std::vector<QWidget*> receivers = {GetPaneView(0), GetPaneView(1)};
    if (m_propertySheet)
        receivers.push_back(m_propertySheet->GetWidget());
    for (QWidget* receiver : receivers) {
        if (!receiver)
            continue;
        CRegisteredMessageEvent event(type, save ? 1 : 0, 0);
        QCoreApplication::sendEvent(receiver, &event);
    }
}

void CMainFrame::SerializeSplitter(BOOL save)
{
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    if (save) {
        if (const auto key = OpenStateSection(m_stateSection + QStringLiteral("\\Splitter"), true)) {
            const auto [w0, w1] = GetColumnWidths();
            store.WriteValue(*key, u"pane0", kwvd::RegistryValue::Number(std::uint32_t(w0)));
            store.WriteValue(*key, u"pane1", kwvd::RegistryValue::Number(std::uint32_t(w1)));
        }
    } else if (const auto key = OpenStateSection(m_stateSection + QStringLiteral("\\Splitter"), false)) {
        // A stored width is never trusted beyond the screen's size.
        auto width = [&](QStringView name) {
            const std::uint32_t value = store.ReadNumber(*key, name).value_or(0);
            return int(std::min<std::uint32_t>(value, 1u << 16));
        };
        SetColumnWidths(width(u"pane0"), width(u"pane1"));
    }
    SendSerializeLayout(save);
}

void CMainFrame::SaveWorkspaceState()
{
    const auto key = OpenStateSection(m_stateSection, true);
    if (!key)
        return;
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    m_userToolBars->Save(*key);
    store.WriteValue(*key, u"WindowState", kwvd::RegistryValue::Binary(saveState()));
    store.WriteValue(*key, u"WindowGeometry", kwvd::RegistryValue::Binary(saveGeometry()));
    SerializeSplitter(TRUE);
}

BOOL CMainFrame::LoadWorkspaceState()
{
    const auto key = OpenStateSection(m_stateSection, false);
    if (!key)
        return FALSE;
    kwvd::RegistryStore& store = kwvd::RegistryStore::Instance();
    // The user bars first: the window state places them by name.
    m_userToolBars->Load(*key);
    bool placed = false;
    if (const auto geometry = store.ReadBinary(*key, u"WindowGeometry"))
        placed = restoreGeometry(*geometry);
    if (const auto state = store.ReadBinary(*key, u"WindowState"))
        restoreState(*state);
    if (!m_explorer && m_explorerDock)
        m_explorerDock->setVisible(false);
    // The bars take their places now, so the splitter has its final width
    // before the column widths go in.
    if (layout())
        layout()->activate();
    SerializeSplitter(FALSE);
    return placed ? TRUE : FALSE;
}

void CMainFrame::ApplyLayoutSlot(int slot, BOOL save)
{
    if (slot < 0 || slot >= LAYOUT_SLOT_COUNT)
        return;
    setUpdatesEnabled(false);
    const QString remembered = m_stateSection;
    m_stateSection = LayoutSlotSection(slot);
    if (save)
        SaveWorkspaceState();
    else
        LoadWorkspaceState();
    m_stateSection = remembered;
    setUpdatesEnabled(true);
}

// ---------------------------------------------------------------- looks

void CMainFrame::SetApplicationLook(UINT look)
{
    CWaitCursor wait;
    setUpdatesEnabled(false);
    m_applicationLook = look;
    if (const auto key = OpenStateSection(m_stateSection, true))
        kwvd::RegistryStore::Instance().WriteValue(*key, kApplicationLook, kwvd::RegistryValue::Number(look));

    int depth = m_screenDepthOverride;
    if (depth == 0)
        depth = screen() ? screen()->depth() : 32;
    const LookChoice choice = ChooseLook(look, depth);
    m_highColourIcons = choice.highColourIcons;
    m_smartDocking = choice.smartDocking;
    m_toolsBitmap = choice.toolsBitmap;
    m_standardBitmap = choice.standardBitmap;

    if (QStyle* style = QStyleFactory::create(choice.styleName))
        QApplication::setStyle(style);
    QApplication::setPalette(LookPalette(look));

    if (!m_userToolBars->HasUserImages() && !Preferences().ApplicationDataDirectory.isEmpty())
        m_userToolBars->LoadUserImages(Preferences().ApplicationDataDirectory + QStringLiteral("/UserImages.bmp"));

    for (auto it = m_actions.begin(); it != m_actions.end(); ++it)
        it.value()->setIcon(CommandIcon(it.key(), m_highColourIcons));
    if (m_explorer)
        m_explorer->OnChangeVisualStyle();
    setUpdatesEnabled(true);
    update();
}

// ---------------------------------------------------------------- full screen

void CMainFrame::ToggleFullScreen()
{
    const double ratio = ColumnRatio();
    const int active = m_activeColumn;
    setUpdatesEnabled(false);
    m_fullScreen = !m_fullScreen;
    if (m_fullScreen) {
        menuBar()->hide();
        showFullScreen();
    } else {
        menuBar()->show();
        showNormal();
    }
    ApplyColumnRatio(ratio);
    SetActivePaneColumn(active);
    setUpdatesEnabled(true);
    update();
}

// ---------------------------------------------------------------- events

bool CMainFrame::event(QEvent* e)
{
    if (e->type() == RegisteredMessages::SetDocType()) {
        OnSetDocTypeMessage(static_cast<CRegisteredMessageEvent*>(e)->LParam());
        return true;
    }
    if (e->type() == RegisteredMessages::ActivatePropertiesSheet()) {
        ShowPropertySheet();
        return true;
    }
    if (e->type() == QEvent::KeyPress && m_fullScreen && static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape) {
        ToggleFullScreen();
        return true;
    }
    return QMainWindow::event(e);
}

void CMainFrame::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::WindowStateChange) {
        std::vector<QWidget*> windows;
        if (IsPropertySheetShown())
            windows.push_back(m_propertySheet->GetWidget());
        if (m_findDialog)
            windows.push_back(m_findDialog->GetWidget());
        if (isMinimized()) {
            for (QWidget* window : windows) {
                if (window && window->isVisible()) {
                    window->hide();
                    window->setProperty("kwvdHiddenByMinimise", true);
                }
            }
        } else {
            for (QWidget* window : windows) {
                if (window && window->property("kwvdHiddenByMinimise").toBool()) {
                    window->setProperty("kwvdHiddenByMinimise", false);
                    window->show();
                }
            }
        }
    }
    QMainWindow::changeEvent(e);
}

void CMainFrame::resizeEvent(QResizeEvent* e)
{
    const double ratio = ColumnRatio();
    QMainWindow::resizeEvent(e);
    if (m_splitterReady && !isMinimized() && m_splitter) {
        // The splitter takes its new width at once, so the ratio is put
        // back on what it now has.
        m_splitter->resize(centralWidget() ? centralWidget()->size() : m_splitter->size());
        ApplyColumnRatio(ratio);
    }
}

void CMainFrame::closeEvent(QCloseEvent* e)
{
    // The close box, Alt+F4, Exit and the end of the session all come here:
    // a modified document is never dropped without the question.
    if (!CanCloseFrame()) {
        e->ignore();
        return;
    }
    m_findDialog.reset();
    SaveWorkspaceState();
    QMainWindow::closeEvent(e);
}
