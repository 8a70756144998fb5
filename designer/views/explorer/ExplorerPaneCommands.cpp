#include "designer/views/explorer/ExplorerPane.h"

#include "designer/commands/CommandIds.h"
#include "designer/commands/MenuResources.h"
#include "designer/controls/ConditionalWaitCursor.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/ServerItem.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QToolBar>

// The pane's commands, its clipboard and its context menu.

namespace {

// Edits of the explorer show the hourglass only for large documents.
class ExplorerWaitCursor : public CConditionalWaitCursor
{
public:
    explicit ExplorerWaitCursor(const CDesignerDoc* doc)
        : CConditionalWaitCursor(doc != nullptr && ShowsFor(doc->GetElementList().GetCount()))
    {}
};

} // namespace

void CExplorerPane::RegisterCommands()
{
    auto hasSelected = [this](CCmdUI& ui) { ui.Enable(GetSelectedElement() != nullptr); };
    auto hasChildren = [this](CCmdUI& ui) {
        CFormElement* selected = GetSelectedElement();
        ui.Enable(selected != nullptr && !selected->GetFirstChildPosition().IsNull());
    };
    auto zOrder = [this](bool front, BOOL withChildren) {
        CFormElement* selected = GetSelectedElement();
        if (selected == nullptr)
            return;
        CDocChangeGuard guard(m_pDocument);
        if (front)
            m_pDocument->BringToFront(selected, withChildren);
        else
            m_pDocument->SendToBack(selected, withChildren);
    };

    OnCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    OnUpdate(ID_EDIT_COPY, hasSelected);
    OnCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    OnUpdate(ID_EDIT_CUT, hasSelected);
    OnCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    OnUpdate(ID_EDIT_PASTE, [this](CCmdUI& ui) {
        const QClipboard* clipboard = QGuiApplication::clipboard();
        const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
        ui.Enable(m_pDocument != nullptr && CServerItem::FirstOfferedFormat(data) != CServerItem::NoFormat);
    });
    OnCommand(ID_EDIT_CLEAR, [this] {
        if (GetSelectedElement() == nullptr)
            return;
        CDocChangeGuard guard(m_pDocument);
        DeleteSelectedElement();
    });
    OnUpdate(ID_EDIT_CLEAR, hasSelected);

    OnCommand(ID_EDIT_BRING_TO_FRONT, [zOrder] { zOrder(true, FALSE); });
    OnUpdate(ID_EDIT_BRING_TO_FRONT, hasSelected);
    OnCommand(ID_EDIT_BRING_ALL_TO_FRONT, [zOrder] { zOrder(true, TRUE); });
    OnUpdate(ID_EDIT_BRING_ALL_TO_FRONT, hasChildren);
    OnCommand(ID_EDIT_SEND_TO_BACK, [zOrder] { zOrder(false, FALSE); });
    OnUpdate(ID_EDIT_SEND_TO_BACK, hasSelected);
    OnCommand(ID_EDIT_SEND_ALL_TO_BACK, [zOrder] { zOrder(false, TRUE); });
    OnUpdate(ID_EDIT_SEND_ALL_TO_BACK, hasChildren);

    OnCommand(ID_EDIT_MOVE_UP, [this] { OnMoveUp(); });
    OnUpdate(ID_EDIT_MOVE_UP, hasSelected);
    OnCommand(ID_EDIT_MOVE_DOWN, [this] { OnMoveDown(); });
    OnUpdate(ID_EDIT_MOVE_DOWN, hasSelected);

    OnCommand(ID_EXPLORER_EXPAND_BRANCH, [this] { OnExpandBranch(); });
    OnUpdate(ID_EXPLORER_EXPAND_BRANCH, hasSelected);
    OnCommand(ID_EXPLORER_EXPAND_ALL, [this] { OnExpandAll(); });
    OnCommand(ID_EXPLORER_COLLAPSE_BRANCH, [this] { OnCollapseBranch(); });
    OnUpdate(ID_EXPLORER_COLLAPSE_BRANCH, hasSelected);
    OnCommand(ID_EXPLORER_COLLAPSE_ALL, [this] { OnCollapseAll(); });

    // The frame's one find dialog, on the pane's document.
    OnCommand(ID_EDIT_FIND, [this] {
        if (m_pFrame != nullptr && m_pDocument != nullptr)
            m_pFrame->ShowFindReplace(m_pDocument);
    });
    OnUpdate(ID_EDIT_FIND, [this](CCmdUI& ui) { ui.Enable(m_pFrame != nullptr && m_pDocument != nullptr); });

    // The frame shows the sheet; the pane only says when it applies.
    OnUpdate(ID_EDIT_PROPERTIES, hasSelected);
    // Nothing of the explorer prints.
    OnUpdate(ID_FILE_PRINT, [](CCmdUI& ui) { ui.Enable(FALSE); });
    OnUpdate(ID_FILE_PRINT_PREVIEW, [](CCmdUI& ui) { ui.Enable(FALSE); });
}

void CExplorerPane::RunCommand(UINT id)
{
    if (!OnCmdMsg(id) && m_pFrame != nullptr)
        m_pFrame->ExecuteCommand(id);
    UpdateToolBar();
}

void CExplorerPane::UpdateToolBar()
{
    for (QAction* action : m_toolBar->actions()) {
        const UINT id = action->data().toUInt();
        if (id == 0)
            continue;
        if (id == ID_EXPLORER_VIEW_PROPERTIES) {
            // The frame's own command: enabled with a frame, checked while
            // its sheet shows.
            action->setEnabled(m_pFrame != nullptr);
            action->setChecked(m_pFrame != nullptr && m_pFrame->IsPropertySheetShown());
            continue;
        }
        CCmdUI ui(id);
        action->setEnabled(OnUpdateCmdUI(ui) && ui.IsEnabled());
    }
}

// ---------------------------------------------------------------- clipboard

void CExplorerPane::OnEditCopy()
{
    CFormElement* selected = GetSelectedElement();
    if (selected == nullptr)
        return;
    CDocChangeGuard guard(m_pDocument);
    CServerItem item(m_pDocument, CServerItem::ExplFormat, {selected}, nullptr);
    // The explorer carries a container with its children.
    item.SetWithChildren(TRUE);
    try {
        item.CopyToClipboard();
    } catch (const CException& e) {
        AfxMessageBox(QString::fromUtf8(e.what()), MB_OK | MB_ICONEXCLAMATION);
    }
}

void CExplorerPane::OnEditCut()
{
    if (GetSelectedElement() == nullptr)
        return;
    CDocChangeGuard guard(m_pDocument);
    ExplorerWaitCursor wait(m_pDocument);
    OnEditCopy();
    DeleteSelectedElement();
}

void CExplorerPane::DeleteSelectedElement()
{
    CFormElement* selected = GetSelectedElement();
    if (selected == nullptr)
        return;
    CDocChangeGuard guard(m_pDocument);
    m_pDocument->DeleteElement(selected, TRUE);
}

void CExplorerPane::OnEditPaste()
{
    if (m_pDocument == nullptr)
        return;
    CDocChangeGuard guard(m_pDocument);
    ExplorerWaitCursor wait(m_pDocument);
    CServerItem item(m_pDocument);
    item.SetWithChildren(TRUE);
    if (!item.PasteFromClipboard())
        return;
    CFormElement* anchor = GetSelectedElement();
    CFormElement* first = nullptr;
    for (CFormElement* element : item.TakeElements()) {
        element->SetParent(nullptr);
        if (m_pDocument->AddElement(element, TRUE, anchor) != nullptr) {
            // Pasted elements keep their rectangles, snapped to this page.
            element->Revalidate(0);
            if (first == nullptr)
                first = element;
        } else if (!m_pDocument->ContainsElement(element)) {
            delete element;
        }
    }
    if (first == nullptr || m_pDocument->GetUpdateSuppression() > 0)
        return;
    m_pDocument->UpdateAllViews(nullptr, DocumentHint::SelectionChanged, first);
    OnDocumentHint(first, DocumentHint::SelectionChanged);
    if (m_pFrame != nullptr)
        m_pFrame->SetPropertySheetElement(first);
}

// ---------------------------------------------------------------- moves

void CExplorerPane::MoveCaret(short mode)
{
    TreeItem caret = m_tree->GetCaretItem();
    TreeItem sibling = nullptr;
    if (caret != nullptr)
        sibling = mode == 2 ? m_tree->GetPrevSiblingItem(caret) : m_tree->GetNextSiblingItem(caret);
    CFormElement* element = m_tree->GetItemElement(caret);
    CFormElement* target = m_tree->GetItemElement(sibling);
    if (m_pDocument == nullptr || element == nullptr || target == nullptr) {
        Beep();
        return;
    }
    CDocChangeGuard guard(m_pDocument);
    if (!m_pDocument->MoveElement(target, element, mode))
        Beep();
}

void CExplorerPane::OnMoveUp()
{
    MoveCaret(2);
}

void CExplorerPane::OnMoveDown()
{
    MoveCaret(3);
}

// ---------------------------------------------------------------- expand, collapse

void CExplorerPane::ExpandBranch(TreeItem item, BOOL expand)
{
    if (m_tree->GetChildItem(item) == nullptr)
        return;
    m_tree->Expand(item, expand);
    for (TreeItem child = m_tree->GetChildItem(item); child != nullptr; child = m_tree->GetNextSiblingItem(child))
        ExpandBranch(child, expand);
}

void CExplorerPane::OnExpandBranch()
{
    TreeItem caret = m_tree->GetCaretItem();
    if (caret == nullptr) {
        Beep();
        return;
    }
    TreeItem top = m_tree->GetFirstVisibleItem();
    SuspendRedraw();
    ExpandBranch(caret, TRUE);
    ResumeRedraw();
    m_tree->EnsureVisible(top);
    m_tree->EnsureVisible(caret);
}

void CExplorerPane::OnExpandAll()
{
    TreeItem top = m_tree->GetFirstVisibleItem();
    SuspendRedraw();
    ExpandBranch(m_tree->GetRootItem(), TRUE);
    ResumeRedraw();
    m_tree->EnsureVisible(top);
    m_tree->EnsureVisible(m_tree->GetCaretItem());
}

void CExplorerPane::OnCollapseBranch()
{
    TreeItem caret = m_tree->GetCaretItem();
    if (caret == nullptr) {
        Beep();
        return;
    }
    ExpandBranch(caret, FALSE);
    m_tree->EnsureVisible(caret);
}

void CExplorerPane::OnCollapseAll()
{
    TreeItem root = m_tree->GetRootItem();
    ExpandBranch(root, FALSE);
    m_tree->Expand(root, TRUE);
    m_tree->EnsureVisible(m_tree->GetCaretItem());
}

// ---------------------------------------------------------------- context menu

QMenu* CExplorerPane::ShowContextMenu(QPoint global, bool fromKeyboard)
{
    if (!fromKeyboard)
        if (QTreeWidgetItem* hit = m_tree->itemAt(m_tree->viewport()->mapFromGlobal(global)))
            m_tree->SelectCaret(CExplorerTreeCtrl::ToItem(hit));
    m_tree->setFocus();
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("ExplorerContextMenu"));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    for (const MenuNode& popup : LoadMenuResource(IDR_EXPLORER_POPUP))
        FillMenu(menu, popup.children, [this](QMenu* m, const MenuNode& node) {
            const UINT id = node.id;
            QAction* action = m->addAction(LoadResString(node.textId));
            action->setData(id);
            CCmdUI ui(id);
            // What the pane does not rule on is the frame's (Properties).
            action->setEnabled(OnUpdateCmdUI(ui) ? ui.IsEnabled() : m_pFrame != nullptr);
            connect(action, &QAction::triggered, this, [this, id] { RunCommand(id); });
        });
    menu->popup(global);
    return menu;
}
