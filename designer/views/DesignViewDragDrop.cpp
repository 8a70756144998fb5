#include "designer/views/DesignView.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/Page.h"
#include "designer/document/ServerItem.h"
#include "designer/elements/FormElement.h"
#include "platform/framework/Exceptions.h"
#include "platform/ui/PromptHelpers.h"

#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QMimeData>

// Dragging the selection out of a pane and dropping elements into one.

using kwvd::Rect;

namespace {

CDesignView::DragRunner& DragRunnerSlot()
{
    static CDesignView::DragRunner runner;
    return runner;
}

} // namespace

// ---------------------------------------------------------------- drag and drop

void CDesignView::SetDragRunner(DragRunner runner)
{
    DragRunnerSlot() = std::move(runner);
}

BOOL CDesignView::StartElementDrag(QPoint start, const Rect& trackerRect)
{
    CDesignerDoc* doc = GetDesignerDoc();
    // Nothing to carry without a current element.
    if (doc == nullptr || m_pCurrent == nullptr)
        return FALSE;
    const QPoint grab = start - trackerRect.TopLeft();
    const QSize logicalGrab = ClientToDocSize(QSize(grab.x(), grab.y()));
    const QPoint offset(logicalGrab.width(), logicalGrab.height());
    std::unique_ptr<CServerItem> item = MakeServerItem();
    if (item == nullptr)
        return FALSE;
    std::unique_ptr<QMimeData> data;
    try {
        data = item->OnGetClipboardData(&offset);
    } catch (const CException& e) {
        AfxMessageBox(QString::fromUtf8(e.what()), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_dragFromThisPane = TRUE;
    Qt::DropAction result = Qt::IgnoreAction;
    const Qt::DropActions allowed = Qt::CopyAction | Qt::MoveAction;
    if (DragRunnerSlot()) {
        result = DragRunnerSlot()(this, std::move(data), allowed);
    } else {
        auto* drag = new QDrag(this);
        drag->setMimeData(data.release());
        result = drag->exec(allowed, Qt::MoveAction);
    }
    // A drop into this same pane has moved the elements already.
    if (!m_dragFromThisPane)
        return FALSE;
    m_dragFromThisPane = FALSE;
    return result == Qt::MoveAction ? TRUE : FALSE;
}

void CDesignView::ReadDropExtent(const QMimeData* data)
{
    QSize size;
    QPoint offset;
    GetDropObjectDescriptor(data, &size, &offset);
    m_dragSize = size;
    m_dragOffset = QSize(offset.x(), offset.y());
}

QPoint CDesignView::SnapDropPoint(QPoint device, Qt::KeyboardModifiers keys) const
{
    QPoint p = ClientToDocPoint(device) - QPoint(m_dragOffset.width(), m_dragOffset.height());
    const bool keepOffGrid = AltSuppressesDropSnap() && keys.testFlag(Qt::AltModifier);
    if (!keepOffGrid)
        if (const CPage* page = GetPanePage())
            page->SnapPointToGrid(p);
    return p;
}

Qt::DropAction CDesignView::OnDragEnter(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint device)
{
    ReadDropExtent(data);
    return OnDragOver(data, keys, device);
}

Qt::DropAction CDesignView::OnDragOver(const QMimeData* data, Qt::KeyboardModifiers keys, QPoint device)
{
    const CPage* page = GetPanePage();
    if (data == nullptr || page == nullptr || !data->hasFormat(GetClipboardFormat()))
        return Qt::IgnoreAction;
    const QPoint point = SnapDropPoint(device, keys);
    Qt::DropAction effect = Qt::MoveAction;
    if (!DropLandsOnPage(point, *page))
        effect = Qt::IgnoreAction;
    else if (keys.testFlag(Qt::ControlModifier) && keys.testFlag(Qt::ShiftModifier))
        effect = Qt::LinkAction;
    else if (keys.testFlag(Qt::ControlModifier))
        effect = Qt::CopyAction;
    if (point != m_dropPosition) {
        EraseDropFeedback();
        m_dropEffect = int(effect);
        m_dropPosition = point;
        if (m_dropEffect != 0)
            UpdateDropFeedback();
    }
    return effect;
}

Rect CDesignView::DropRectAt(QPoint logical) const
{
    return Rect(logical.x(), logical.y(), logical.x() + m_dragSize.width(), logical.y() + m_dragSize.height());
}

bool CDesignView::DropLandsOnPage(QPoint logical, const CPage& page) const
{
    Rect item = DropRectAt(logical);
    if (item.IsEmpty())
        item.Inflate(1, 1);
    return item.Intersects(Rect(0, 0, page.GetPixelWidth(), page.GetPixelHeight()));
}

Rect CDesignView::DropFeedbackRect() const
{
    return DocToClientRect(DropRectAt(m_dropPosition));
}

void CDesignView::UpdateDropFeedback()
{
    Rect r = DropFeedbackRect();
    r.Inflate(1, 1);
    viewport()->update(r.ToQRect());
}

void CDesignView::EraseDropFeedback()
{
    if (m_dropEffect == 0)
        return;
    m_dropEffect = 0;
    UpdateDropFeedback();
}

void CDesignView::OnDragLeave()
{
    EraseDropFeedback();
    m_dropEffect = 0;
    m_dropPosition = kNoDropPosition;
}

BOOL CDesignView::OnDrop(const QMimeData* data, Qt::DropAction effect, QPoint device)
{
    CDesignerDoc* doc = GetDesignerDoc();
    const CPage* page = GetPanePage();
    if (doc == nullptr || page == nullptr || data == nullptr || !data->hasFormat(GetClipboardFormat()))
        return FALSE;
    CDocChangeGuard guard(doc);
    const QPoint remembered = m_dropPosition;
    OnDragLeave();
    ReadDropExtent(data);
    const QPoint point = remembered != kNoDropPosition && AltSuppressesDropSnap()
                             ? remembered
                             : SnapDropPoint(device, QGuiApplication::keyboardModifiers());
    if (!DropLandsOnPage(point, *page))
        return FALSE;

    if (effect == Qt::MoveAction && m_dragFromThisPane) {
        m_dragFromThisPane = FALSE;
        if (m_pCurrent == nullptr)
            return FALSE;
        Rect r = GetElementRect(m_pCurrent);
        MoveSelection(DropMoveFlags(), point.x() - r.left, point.y() - r.top);
        return TRUE;
    }
    if (effect != Qt::CopyAction && effect != Qt::MoveAction)
        return FALSE;
    DeselectAll(DeselectCurrentBeforeDrop());
    CServerItem dropped(doc);
    if (dropped.LoadFromDataObject(data))
        PasteItem(dropped, point);
    return TRUE;
}

void CDesignView::dragEnterEvent(QDragEnterEvent* e)
{
    const Qt::DropAction effect = OnDragEnter(e->mimeData(), e->modifiers(), e->position().toPoint());
    // The event is taken even when refused here, so later moves onto the
    // page are still asked.
    e->accept();
    e->setDropAction(effect);
}

void CDesignView::dragMoveEvent(QDragMoveEvent* e)
{
    const Qt::DropAction effect = OnDragOver(e->mimeData(), e->modifiers(), e->position().toPoint());
    if (effect == Qt::IgnoreAction) {
        e->ignore();
        return;
    }
    e->setDropAction(effect);
    e->accept();
}

void CDesignView::dragLeaveEvent(QDragLeaveEvent* e)
{
    OnDragLeave();
    e->accept();
}

void CDesignView::dropEvent(QDropEvent* e)
{
    const Qt::DropAction effect = e->dropAction();
    if (OnDrop(e->mimeData(), effect, e->position().toPoint())) {
        e->setDropAction(effect);
        e->accept();
    } else {
        e->ignore();
    }
}
