#include "designer/views/explorer/ExplorerPane.h"

#include "designer/controls/ConditionalWaitCursor.h"
#include "designer/document/DesignerDoc.h"
#include "designer/document/RegisteredMessages.h"
#include "designer/document/ServerItem.h"
#include "designer/elements/FormElement.h"

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

// The pane's drag of tree items: a move, or a copy with Ctrl, of the
// dragged element into, before or after the element dropped on.

namespace {

UINT KeyFlagsOf(Qt::KeyboardModifiers modifiers)
{
    return modifiers.testFlag(Qt::ControlModifier) ? MK_CONTROL : 0;
}

} // namespace

bool CExplorerPane::event(QEvent* event)
{
    if (event->type() == RegisteredMessages::TvnKeyEvent()) {
        const auto* message = static_cast<CRegisteredMessageEvent*>(event);
        OnTreeKeyEvent(message->WParam(), message->LParam());
        return true;
    }
    return QWidget::event(event);
}

bool CExplorerPane::FilterDragEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_drag.pressItem = QPersistentModelIndex();
        if (mouse->button() != Qt::LeftButton || IsDragging())
            return false;
        QTreeWidgetItem* item = m_tree->itemAt(mouse->position().toPoint());
        // The root is never dragged.
        if (item != nullptr && m_tree->GetItemElement(CExplorerTreeCtrl::ToItem(item)) != nullptr) {
            m_drag.pressItem = m_tree->indexFromItem(item);
            m_drag.pressPoint = mouse->position().toPoint();
        }
        return false;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (IsDragging()) {
            OnMouseMove(mouse->globalPosition().toPoint(), KeyFlagsOf(mouse->modifiers()));
            return true;
        }
        if (!m_drag.pressItem.isValid() || !mouse->buttons().testFlag(Qt::LeftButton)
            || m_tree->GetEditControl() != nullptr)
            return false;
        if ((mouse->position().toPoint() - m_drag.pressPoint).manhattanLength() < QApplication::startDragDistance())
            return false;
        QTreeWidgetItem* item = m_tree->itemFromIndex(m_drag.pressItem);
        m_drag.pressItem = QPersistentModelIndex();
        OnBeginDrag(CExplorerTreeCtrl::ToItem(item), mouse->globalPosition().toPoint());
        return IsDragging();
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        m_drag.pressItem = QPersistentModelIndex();
        if (mouse->button() != Qt::LeftButton || !IsDragging())
            return false;
        OnLButtonUp(KeyFlagsOf(mouse->modifiers()));
        return true;
    }
    default:
        return false;
    }
}

void CExplorerPane::mouseMoveEvent(QMouseEvent* event)
{
    if (IsDragging()) {
        OnMouseMove(event->globalPosition().toPoint(), KeyFlagsOf(event->modifiers()));
        return;
    }
    QWidget::mouseMoveEvent(event);
}

void CExplorerPane::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(KeyFlagsOf(event->modifiers()));
    QWidget::mouseReleaseEvent(event);
}

// ---------------------------------------------------------------- the drag

TreeItem CExplorerPane::DragItem() const
{
    return CExplorerTreeCtrl::ToItem(m_tree->itemFromIndex(m_drag.dragItem));
}

TreeItem CExplorerPane::GetHoveredItem() const
{
    return CExplorerTreeCtrl::ToItem(m_tree->itemFromIndex(m_drag.hoveredItem));
}

void CExplorerPane::OnBeginDrag(TreeItem item, QPoint pointer)
{
    m_drag.image.reset();
    if (m_pDocument == nullptr || m_tree->GetItemElement(item) == nullptr)
        return;
    m_drag.dragging = 1;
    m_drag.dragItem = m_tree->indexFromItem(CExplorerTreeCtrl::FromItem(item));
    m_drag.hoveredItem = QPersistentModelIndex();
    m_drag.position = 0;
    m_drag.pointer = pointer;
    m_drag.image = std::make_unique<CExplorerDragImage>(m_tree->CreateDragImage(item));
    m_drag.image->MoveTo(pointer);

    m_tree->setFocus();
    m_tree->ResetMouseState();
    grabMouse();
    if (m_drag.timer == nullptr) {
        m_drag.timer = new QTimer(this);
        m_drag.timer->setObjectName(QStringLiteral("ExplorerDragTimer"));
        connect(m_drag.timer, &QTimer::timeout, this, [this] { OnTimer(m_drag.pointer); });
    }
    m_drag.timer->start(75);
    QWidget* client = m_tree->viewport();
    m_drag.treeTop = client->mapToGlobal(QPoint(0, 0)).y();
    m_drag.treeBottom = m_drag.treeTop + client->height();
    m_drag.scrollBarHeight = std::max(0, style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this));
}

std::intptr_t CExplorerPane::OnTreeKeyEvent(std::uintptr_t down, std::intptr_t record)
{
    const auto* key = reinterpret_cast<const CExplorerTreeCtrl::KeyRecord*>(record);
    if (IsDragging() && key != nullptr && key->key == VK_CONTROL && m_drag.image)
        m_drag.image->SetCopySign(down != 0);
    return 1;
}

void CExplorerPane::OnMouseMove(QPoint pointer, UINT keyFlags)
{
    if (!IsDragging())
        return;
    m_drag.pointer = pointer;
    const QPoint point = m_tree->viewport()->mapFromGlobal(pointer);
    UpdateDropTarget(CExplorerTreeCtrl::ToItem(m_tree->itemAt(point)), point, keyFlags);
}

BOOL CExplorerPane::CanDropOn(TreeItem target, UINT keyFlags) const
{
    return ::CanDropOn(*m_tree, DragItem(), target, keyFlags);
}

void CExplorerPane::UpdateDropTarget(TreeItem item, QPoint point, UINT keyFlags)
{
    const QRect row = item != nullptr ? m_tree->visualItemRect(CExplorerTreeCtrl::FromItem(item)) : QRect();
    const DropTarget drop = ::UpdateDropTarget(*m_tree, DragItem(), item, row.top(), row.height(), point.y(), keyFlags);
    m_drag.position = drop.position;
    m_drag.hoveredItem = drop.hovered != nullptr
                             ? QPersistentModelIndex(m_tree->indexFromItem(CExplorerTreeCtrl::FromItem(drop.hovered)))
                             : QPersistentModelIndex();
    if (m_drag.image)
        m_drag.image->MoveTo(m_tree->viewport()->mapToGlobal(point));
    const bool beside = drop.position == 2 || drop.position == 3;
    m_tree->SetInsertMark(beside ? drop.hovered : nullptr, drop.position != 2);
    m_tree->SetDropHighlight(drop.target);
}

int CExplorerPane::GetScrollZone(int screenY) const
{
    return ::GetScrollZone(screenY, m_drag.treeTop, m_drag.treeBottom, m_drag.scrollBarHeight);
}

void CExplorerPane::OnTimer(QPoint pointer)
{
    if (!IsDragging())
        return;
    if (m_drag.image)
        m_drag.image->MoveTo(pointer);
    const int zone = GetScrollZone(pointer.y());
    if (zone == kInsideTree)
        return;
    const int lines = ScrollLinesOnTick(zone, m_drag.tick);
    m_drag.tick = (m_drag.tick + 1) % 3;
    if (lines != 0) {
        QScrollBar* bar = m_tree->verticalScrollBar();
        bar->setValue(bar->value() + lines);
    }
    // The next update shows the image again, over the scrolled rows.
    if (m_drag.image)
        m_drag.image->hide();
    TreeItem candidate = m_tree->GetFirstVisibleItem();
    if ((zone == 1 || zone == 3) && candidate != nullptr) {
        const int rowHeight = std::max(1, m_tree->visualItemRect(CExplorerTreeCtrl::FromItem(candidate)).height());
        for (int step = m_tree->viewport()->height() / rowHeight - 1; step > 0; --step) {
            TreeItem next = m_tree->GetNextVisibleItem(candidate);
            if (next == nullptr)
                break;
            candidate = next;
        }
    }
    // No key flags: while the tree scrolls the target follows a move's rules.
    UpdateDropTarget(candidate, m_tree->viewport()->mapFromGlobal(pointer), 0);
}

void CExplorerPane::OnLButtonUp(UINT keyFlags)
{
    if (IsDragging())
        EndDrag(keyFlags);
    if (m_drag.timer != nullptr)
        m_drag.timer->stop();
    m_drag.treeTop = 0;
    m_drag.treeBottom = 0;
    m_drag.tick = 0;
}

void CExplorerPane::EndDrag(UINT keyFlags)
{
    CDocChangeGuard guard(m_pDocument);
    CConditionalWaitCursor wait(m_pDocument != nullptr
                                && CConditionalWaitCursor::ShowsFor(m_pDocument->GetElementList().GetCount()));
    m_drag.dragging = 0;
    m_drag.image.reset();
    m_tree->SetInsertMark(nullptr, true);

    CFormElement* dragged = m_tree->GetItemElement(DragItem());
    TreeItem hoveredItem = GetHoveredItem();
    CFormElement* hovered = m_tree->GetItemElement(hoveredItem);
    // An item that went with a change during the drag offers nothing: its
    // position would otherwise move the element to the top level.
    const short position = hoveredItem != nullptr ? m_drag.position : short(0);
    m_drag.dragItem = QPersistentModelIndex();
    m_drag.hoveredItem = QPersistentModelIndex();
    m_drag.position = 0;

    if (m_pDocument != nullptr && dragged != nullptr && m_pDocument->ContainsElement(dragged)) {
        CFormElement* container = nullptr;
        if (position == 1)
            container = hovered;
        else if ((position == 2 || position == 3) && hovered != nullptr)
            container = hovered->GetParent();
        const bool copy = (keyFlags & MK_CONTROL) != 0;
        const bool refused = container != nullptr && !container->CanContain(dragged);
        CFormElement* result = nullptr;
        if (refused)
            Beep();
        else if (copy)
            result = CopyElementTo(dragged, hovered, position);
        else if (m_pDocument->MoveElement(hovered, dragged, position))
            result = dragged;
        else
            // Ctrl may have gone up since the target was offered: the
            // document refuses, unchanged, to take an element into itself or
            // its own subtree.
            Beep();
        if (TreeItem item = FindItem(result))
            m_tree->SelectCaret(item);
    }
    if (mouseGrabber() == this)
        releaseMouse();
    m_tree->SetDropHighlight(nullptr);
}

CFormElement* CExplorerPane::CopyElementTo(CFormElement* dragged, CFormElement* hovered, short position)
{
    // The copy goes over the system clipboard, as Copy and Paste do.
    // A copy that fails must not paste what the clipboard held before.
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->clear();
    CFormElement* selected = m_pSelected;
    m_pSelected = dragged;
    OnEditCopy();
    m_pSelected = selected;

    CServerItem item(m_pDocument);
    item.SetWithChildren(TRUE);
    if (!item.PasteFromClipboard())
        return nullptr;
    CFormElement* first = nullptr;
    for (CFormElement* element : item.TakeElements()) {
        element->SetParent(nullptr);
        if (m_pDocument->AddElement(element, TRUE, nullptr) == nullptr) {
            if (!m_pDocument->ContainsElement(element))
                delete element;
            continue;
        }
        if (first == nullptr)
            first = element;
        m_pDocument->MoveElement(hovered, element, position);
    }
    return first;
}
