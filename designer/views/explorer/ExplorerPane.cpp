#include "designer/views/explorer/ExplorerPane.h"

#include "designer/commands/CommandIds.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/ExplorerTreeOrder.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/document/TreeState.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "designer/views/explorer/ExplorerIcons.h"
#include "designer/views/explorer/ExplorerStrings.h"
#include "platform/ui/PromptService.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>
#include <QToolBar>

// The pane's window, the hints and the selection; the commands and the
// clipboard are in ExplorerPaneCommands.cpp.

namespace {

// The pane's own pictures on a display of more than 256 colours.
bool HighColourDisplay()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen == nullptr || screen->depth() > 8;
}

} // namespace

CExplorerPane::CExplorerPane(IDesignFrame* frame, QWidget* frameWindow, QWidget* parent)
    : QWidget(parent), m_pFrame(frame), m_frameWindow(frameWindow)
{
    RegisterExplorerStrings();
    RegisterDesignerMessages();
    setObjectName(QStringLiteral("ExplorerPane"));
    setMinimumSize(120, 120);

    m_toolBar = new QToolBar(this);
    m_toolBar->setObjectName(QStringLiteral("ExplorerToolBar"));
    m_toolBar->setMovable(false);
    m_toolBar->setFloatable(false);
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setContextMenuPolicy(Qt::PreventContextMenu);
    for (UINT id : ExplorerToolBarButtons()) {
        if (id == 0) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = m_toolBar->addAction(ExplorerCommandTip(id));
        action->setObjectName(QStringLiteral("Command-%1").arg(id));
        action->setData(id);
        action->setToolTip(ExplorerCommandTip(id));
        action->setCheckable(id == ID_EXPLORER_VIEW_PROPERTIES);
        connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
    }

    m_tree = new CExplorerTreeCtrl(this);
    setFocusProxy(m_tree);
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);
    m_tree->SetLabelEditHandler([this](TreeItem item, const QString& text) { return OnEndLabelEdit(item, text); });
    connect(m_tree, &CExplorerTreeCtrl::caretChanged, this,
            [this](QTreeWidgetItem* item) { OnSelChanged(CExplorerTreeCtrl::ToItem(item)); });
    connect(m_tree, &CExplorerTreeCtrl::itemDoubleClickedOn, this,
            [this](QTreeWidgetItem*) { PostActivatePropertiesSheet(); });
    connect(m_tree, &CExplorerTreeCtrl::treeFocused, this, [this] { OnTreeFocused(); });

    RegisterCommands();
    OnChangeVisualStyle();
    AdjustLayout();

    // The buttons follow the selection and the clipboard between actions.
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, [this] {
        if (isVisible())
            UpdateToolBar();
    });
    idle->start(250);
    UpdateToolBar();
}

CExplorerPane::~CExplorerPane()
{
    // The tree goes with the window; nothing may answer its last signals.
    m_tree->disconnect(this);
    m_tree->viewport()->removeEventFilter(this);
    m_tree->SetLabelEditHandler(nullptr);
}

// ---------------------------------------------------------------- document

void CExplorerPane::SetDocument(CDesignerDoc* doc)
{
    if (doc == m_pDocument)
        return;
    m_pDocument = doc;
    m_pSelected = nullptr;
    m_tree->DeleteAllItems();
    if (doc != nullptr) {
        doc->FillExplorerTree(*m_tree);
        m_tree->Expand(m_tree->GetRootItem(), TRUE);
    }
    UpdateToolBar();
}

CFormElement* CExplorerPane::GetSelectedElement() const
{
    // Only an element the document still holds is handed out.
    if (m_pSelected == nullptr || m_pDocument == nullptr || !m_pDocument->ContainsElement(m_pSelected))
        return nullptr;
    return m_pSelected;
}

void CExplorerPane::OnDocumentHint(CObject* object, LPARAM hint)
{
    if (m_pDocument == nullptr)
        return;
    CFormElement* element = dynamic_cast<CFormElement*>(object);
    switch (hint) {
    case DocumentHint::ElementChanged:
    case DocumentHint::SourceRectChanged:
    case DocumentHint::DestRectChanged:
        RefreshItem(element);
        break;
    case DocumentHint::ElementReparented: {
        TreeItem item = element != nullptr ? FindItem(element) : nullptr;
        SortChildren(item);
        break;
    }
    case DocumentHint::SelectionChanged:
        SelectElementItem(element);
        break;
    case DocumentHint::ElementAdded:
        InsertElementItem(element);
        break;
    case DocumentHint::ElementRemoved:
        DeleteElementItem(element);
        break;
    case DocumentHint::SpooledPageChanged:
    case DocumentHint::OutputViewRefit:
        break;
    case DocumentHint::RestoreBegins:
        if (auto* state = dynamic_cast<CTreeState*>(object))
            state->Save(*m_tree);
        // The restore deletes every element.
        m_pSelected = nullptr;
        break;
    case DocumentHint::RestoreEnds:
        SuspendRedraw();
        Rebuild();
        if (auto* state = dynamic_cast<CTreeState*>(object))
            state->Restore(*m_tree);
        ResumeRedraw();
        break;
    default:
        SuspendRedraw();
        Rebuild();
        m_tree->Expand(m_tree->GetRootItem(), TRUE);
        ResumeRedraw();
        break;
    }
    UpdateToolBar();
}

void CExplorerPane::Rebuild()
{
    m_pSelected = nullptr;
    m_tree->DeleteAllItems();
    m_pDocument->FillExplorerTree(*m_tree);
}

void CExplorerPane::SuspendRedraw()
{
    if (isVisible())
        m_tree->SetRedraw(FALSE);
}

void CExplorerPane::ResumeRedraw()
{
    if (isVisible()) {
        m_tree->SetRedraw(TRUE);
        m_tree->viewport()->update();
    }
}

TreeItem CExplorerPane::FindItem(CFormElement* element) const
{
    if (element == nullptr)
        return nullptr;
    // Depth first from the root, collapsed branches included.
    std::vector<TreeItem> pending;
    if (TreeItem root = m_tree->GetRootItem())
        pending.push_back(root);
    while (!pending.empty()) {
        TreeItem item = pending.back();
        pending.pop_back();
        if (m_tree->GetItemElement(item) == element)
            return item;
        std::vector<TreeItem> children;
        for (TreeItem child = m_tree->GetChildItem(item); child != nullptr; child = m_tree->GetNextSiblingItem(child))
            children.push_back(child);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return nullptr;
}

void CExplorerPane::SortChildren(TreeItem item)
{
    if (m_pDocument == nullptr)
        return;
    if (item == nullptr)
        item = m_tree->GetRootItem();
    if (item != nullptr)
        SortTreeChildren(*m_tree, item, *m_pDocument);
}

void CExplorerPane::RefreshItem(CFormElement* element)
{
    TreeItem item = FindItem(element);
    if (item == nullptr)
        return;
    m_tree->SetItemText(item, element->GetDescription());
    SortChildren(item);
}

void CExplorerPane::InsertElementItem(CFormElement* element)
{
    if (element == nullptr)
        return;
    CFormElement* container = element->GetParent();
    if (container == nullptr) {
        TreeItem root = m_tree->GetRootItem();
        if (root == nullptr)
            return;
        element->InsertIntoTree(*m_tree, root);
        SortChildren(root);
    } else if (TreeItem item = FindItem(container)) {
        element->InsertIntoTree(*m_tree, item);
        SortChildren(item);
    }
}

void CExplorerPane::DeleteElementItem(CFormElement* element)
{
    if (element == nullptr)
        return;
    // The selected element goes when it is the removed one or lies inside
    // it: it would otherwise stay the anchor after the document freed it.
    for (CFormElement* at = m_pSelected; at != nullptr; at = at->GetParent()) {
        if (at == element) {
            m_pSelected = nullptr;
            break;
        }
    }
    if (TreeItem item = FindItem(element))
        m_tree->DeleteItem(item);
}

// ---------------------------------------------------------------- selection

void CExplorerPane::SelectElementItem(CFormElement* element)
{
    if (element == nullptr)
        return;
    TreeItem item = FindItem(element);
    if (item == nullptr)
        return;
    ++m_selecting;
    m_tree->SelectCaret(item);
    --m_selecting;
}

void CExplorerPane::OnSelChanged(TreeItem item)
{
    CFormElement* element = m_tree->GetItemElement(item);
    if (element == m_pSelected)
        return;
    if (m_selecting > 0) {
        m_pSelected = element;
        return;
    }
    if (m_pSelected != nullptr)
        m_pSelected->Select(FALSE);
    if (element != nullptr)
        element->Select(TRUE);
    m_pSelected = element;
    NotifySelection(element);
    UpdateToolBar();
}

void CExplorerPane::NotifySelection(CFormElement* element)
{
    if (m_pDocument == nullptr || m_pDocument->GetUpdateSuppression() > 0)
        return;
    m_pDocument->UpdateAllViews(nullptr, DocumentHint::SelectionChanged, element);
    if (m_pFrame != nullptr)
        m_pFrame->SetPropertySheetElement(element);
}

void CExplorerPane::OnTreeFocused()
{
    // The sheet follows the explorer as soon as it has the focus.
    NotifySelection(GetSelectedElement());
}

void CExplorerPane::PostActivatePropertiesSheet()
{
    QWidget* target = m_frameWindow != nullptr ? m_frameWindow : window();
    QCoreApplication::postEvent(target,
                                new CRegisteredMessageEvent(RegisteredMessages::ActivatePropertiesSheet(), 0, 0));
}

// ---------------------------------------------------------------- renaming

BOOL CExplorerPane::OnEndLabelEdit(TreeItem item, const QString& text)
{
    CFormElement* element = m_tree->GetItemElement(item);
    if (m_pDocument == nullptr || element == nullptr)
        return FALSE;
    CDocChangeGuard guard(m_pDocument);
    if (!CFormElement::SetDescription(text, element))
        return FALSE;
    element->SetAutoDescription(FALSE);
    if (m_pFrame != nullptr && m_pFrame->IsPropertySheetShown())
        m_pFrame->RefreshPropertySheet();
    return TRUE;
}

// ---------------------------------------------------------------- window

void CExplorerPane::OnChangeVisualStyle()
{
    const bool high = HighColourDisplay();
    for (QAction* action : m_toolBar->actions()) {
        const UINT id = action->data().toUInt();
        if (id != 0)
            action->setIcon(ExplorerToolBarImage(high ? IDR_EXPLORER_TOOLBAR_HC : IDR_EXPLORER_TOOLBAR, id));
    }
    m_tree->SetImageList(LoadExplorerImageList(high ? IDB_EXPLORER_IMAGES_HC : IDB_EXPLORER_IMAGES));
}

void CExplorerPane::AdjustLayout()
{
    const QRect client = rect();
    const int barHeight = m_toolBar->sizeHint().height();
    m_toolBar->setGeometry(client.left(), client.top(), client.width(), barHeight);
    m_tree->setGeometry(client.left() + 1, client.top() + barHeight + 1, std::max(0, client.width() - 2),
                        std::max(0, client.height() - barHeight - 2));
    m_tree->viewport()->update();
}

void CExplorerPane::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    AdjustLayout();
}

void CExplorerPane::paintEvent(QPaintEvent*)
{
    // One pixel of the button shadow colour around the tree.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_tree->geometry().adjusted(-1, -1, 0, 0));
}

void CExplorerPane::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    m_tree->setFocus();
}

void CExplorerPane::mouseDoubleClickEvent(QMouseEvent* event)
{
    QWidget::mouseDoubleClickEvent(event);
    PostActivatePropertiesSheet();
}

bool CExplorerPane::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_tree->viewport() && FilterDragEvent(event))
        return true;
    if (watched == m_tree && event->type() == QEvent::ContextMenu) {
        auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        ShowContextMenu(menuEvent->globalPos(), menuEvent->reason() == QContextMenuEvent::Keyboard);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void CExplorerPane::Beep()
{
    Prompts().MessageBeep(MB_ICONEXCLAMATION);
}
