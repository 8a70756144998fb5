#include "designer/views/DesignView.h"

#include "designer/commands/CommandIds.h"
#include "designer/commands/MenuResources.h"
#include "designer/document/DesignerDoc.h"
#include "designer/elements/FormElement.h"
#include "designer/views/DesignFrame.h"
#include "platform/ui/StringTable.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>

// The pane's command table and its context menu.

// ---------------------------------------------------------------- commands

void CDesignView::RegisterCommands()
{
    auto hasCurrent = [this](CCmdUI& ui) { ui.Enable(m_pCurrent != nullptr); };
    auto hasChildren = [this](CCmdUI& ui) {
        ui.Enable(m_pCurrent != nullptr && !m_pCurrent->GetFirstChildPosition().IsNull());
    };
    auto zOrder = [this](bool front, BOOL withChildren) {
        CDesignerDoc* doc = GetDesignerDoc();
        if (doc == nullptr || m_pCurrent == nullptr)
            return;
        CDocChangeGuard guard(doc);
        if (front)
            doc->BringToFront(m_pCurrent, withChildren);
        else
            doc->SendToBack(m_pCurrent, withChildren);
    };

    OnCommand(ID_EDIT_COPY, [this] { OnEditCopy(); });
    CCmdTarget::OnUpdate(ID_EDIT_COPY, hasCurrent);
    OnCommand(ID_EDIT_CUT, [this] { OnEditCut(); });
    CCmdTarget::OnUpdate(ID_EDIT_CUT, hasCurrent);
    OnCommand(ID_EDIT_PASTE, [this] { OnEditPaste(); });
    CCmdTarget::OnUpdate(ID_EDIT_PASTE, [this](CCmdUI& ui) {
        const QMimeData* data =
            QGuiApplication::clipboard() != nullptr ? QGuiApplication::clipboard()->mimeData() : nullptr;
        ui.Enable(data != nullptr && data->hasFormat(GetClipboardFormat()));
    });
    OnCommand(ID_EDIT_CLEAR, [this] {
        if (m_pCurrent != nullptr)
            DeleteSelection();
    });
    CCmdTarget::OnUpdate(ID_EDIT_CLEAR, hasCurrent);
    OnCommand(ID_EDIT_SELECT_ALL, [this] { OnSelectAll(); });
    OnCommand(ID_EDIT_SELECT_NONE, [this] { DeselectAll(TRUE); });
    OnCommand(ID_EDIT_BRING_TO_FRONT, [zOrder] { zOrder(true, FALSE); });
    CCmdTarget::OnUpdate(ID_EDIT_BRING_TO_FRONT, hasCurrent);
    OnCommand(ID_EDIT_BRING_ALL_TO_FRONT, [zOrder] { zOrder(true, TRUE); });
    CCmdTarget::OnUpdate(ID_EDIT_BRING_ALL_TO_FRONT, hasChildren);
    OnCommand(ID_EDIT_SEND_TO_BACK, [zOrder] { zOrder(false, FALSE); });
    CCmdTarget::OnUpdate(ID_EDIT_SEND_TO_BACK, hasCurrent);
    OnCommand(ID_EDIT_SEND_ALL_TO_BACK, [zOrder] { zOrder(false, TRUE); });
    CCmdTarget::OnUpdate(ID_EDIT_SEND_ALL_TO_BACK, hasChildren);
    // The frame runs Properties; the pane only says when it applies.
    CCmdTarget::OnUpdate(ID_EDIT_PROPERTIES, hasCurrent);

    OnCommandRange(ID_VIEW_ZOOM_FIRST, ID_VIEW_ZOOM_LAST, [this](UINT id) { OnZoomStep(id); });
    OnUpdateRange(ID_VIEW_ZOOM_FIRST, ID_VIEW_ZOOM_LAST, [this](CCmdUI& ui) {
        ui.Enable(TRUE);
        const int step = ZoomStepTable[ui.m_nID - ID_VIEW_ZOOM_FIRST];
        ui.SetCheck(m_fitMode == ViewFitMode::None && m_baseX == 100 && m_baseY == 100 && step == m_zoomX
                            && step == m_zoomY
                        ? 1
                        : 0);
    });
    OnCommand(ID_VIEW_ZOOM_IN, [this] { OnZoomIn(); });
    OnCommand(ID_VIEW_ZOOM_OUT, [this] { OnZoomOut(); });
    OnCommand(ID_VIEW_ZOOM_WIDTH, [this] { OnFitWidth(); });
    OnCommand(ID_VIEW_ZOOM_HEIGHT, [this] { OnFitHeight(); });
    OnCommand(ID_VIEW_ZOOM_PAGE, [this] { OnFitPage(); });
    auto fitCheck = [this](int mode) {
        return [this, mode](CCmdUI& ui) {
            ui.Enable(TRUE);
            ui.SetCheck(m_fitMode == mode ? 1 : 0);
        };
    };
    CCmdTarget::OnUpdate(ID_VIEW_ZOOM_WIDTH, fitCheck(ViewFitMode::Width));
    CCmdTarget::OnUpdate(ID_VIEW_ZOOM_HEIGHT, fitCheck(ViewFitMode::Height));
    CCmdTarget::OnUpdate(ID_VIEW_ZOOM_PAGE, fitCheck(ViewFitMode::Page));
}

QMenu* CDesignView::BuildContextMenu()
{
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("PaneContextMenu"));
    // The menu resource is one popup; its items are the context menu's.
    for (const MenuNode& popup : LoadMenuResource(IDR_VIEW_POPUP))
        FillMenu(menu, popup.children, [this](QMenu* m, const MenuNode& node) {
            AddContextMenuItem(m, node.id, LoadResString(node.textId));
        });
    return menu;
}

void CDesignView::AddContextMenuItem(QMenu* menu, UINT id, const QString& text)
{
    QAction* action = menu->addAction(text);
    action->setData(id);
    CCmdUI ui(id);
    if (OnUpdateCmdUI(ui)) {
        action->setEnabled(ui.IsEnabled());
        if (ui.GetCheck()) {
            action->setCheckable(true);
            action->setChecked(*ui.GetCheck() != 0);
        }
    } else if (m_pFrame == nullptr) {
        action->setEnabled(false);
    }
    connect(action, &QAction::triggered, this, [this, id] {
        if (!OnCmdMsg(id) && m_pFrame != nullptr)
            m_pFrame->ExecuteCommand(id);
    });
}

void CDesignView::OnContextMenu(QPoint global)
{
    if (CFormElement* hit = HitTestElement(viewport()->mapFromGlobal(global)))
        SetCurrentElement(hit, TRUE);
    QMenu* menu = BuildContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(global);
}
