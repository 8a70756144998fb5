#include "designer/views/explorer/ExplorerDrag.h"

#include "designer/elements/FormElement.h"

#include <QPainter>

BOOL CanDropOn(const IExplorerTree& tree, TreeItem dragItem, TreeItem target, UINT keyFlags)
{
    CFormElement* dragged = tree.GetItemElement(dragItem);
    if (target == nullptr || dragged == nullptr)
        return FALSE;
    CFormElement* element = tree.GetItemElement(target);
    if (element == nullptr)
        return TRUE;
    if ((keyFlags & MK_CONTROL) == 0) {
        if (element == dragged)
            return FALSE;
        for (TreeItem above = target; above != nullptr; above = tree.GetParentItem(above))
            if (above == dragItem)
                return FALSE;
    }
    return element->CanContain(dragged);
}

DropTarget UpdateDropTarget(const IExplorerTree& tree, TreeItem dragItem, TreeItem item, int rowTop, int rowHeight,
                            int y, UINT keyFlags)
{
    DropTarget drop;
    if (item == nullptr)
        return drop;
    if (tree.GetItemElement(item) == nullptr) {
        drop.target = item;
        drop.hovered = item;
        drop.position = 3;
        return drop;
    }
    const int quarter = rowHeight / 4;
    const int upper = rowTop + quarter;
    const int lower = rowTop + rowHeight - quarter;
    if (CanDropOn(tree, dragItem, item, keyFlags) && upper <= y && y <= lower) {
        drop.target = item;
        drop.hovered = item;
        drop.position = 1;
        return drop;
    }
    TreeItem parent = tree.GetParentItem(item);
    if (CanDropOn(tree, dragItem, parent, keyFlags)) {
        drop.target = parent;
        drop.hovered = item;
        drop.position = y < upper ? 2 : 3;
    }
    return drop;
}

int GetScrollZone(int y, int top, int bottom, int barHeight)
{
    if (y > bottom + barHeight)
        return 3;
    if (y > bottom)
        return 1;
    if (y < top - barHeight)
        return 2;
    if (y < top)
        return 0;
    return kInsideTree;
}

int ScrollLinesOnTick(int zone, int tick)
{
    switch (zone) {
    case 2:
        return -1;
    case 3:
        return 1;
    case 0:
        return tick == 0 ? -1 : 0;
    case 1:
        return tick == 0 ? 1 : 0;
    default:
        return 0;
    }
}

WORD VirtualKeyOf(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Control:
        return VK_CONTROL;
    case Qt::Key_Shift:
        return 0x10;
    case Qt::Key_Alt:
        return 0x12;
    default:
        break;
    }
    // Letters and digits share their codes with Qt's.
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9))
        return WORD(qtKey);
    return 0;
}

// ---------------------------------------------------------------- drag image

QPixmap DragCopySign()
{
    QPixmap sign(16, 16);
    sign.fill(Qt::transparent);
    QPainter painter(&sign);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    painter.drawRect(4, 4, 11, 11);
    painter.fillRect(7, 9, 6, 2, Qt::black);
    painter.fillRect(9, 7, 2, 6, Qt::black);
    return sign;
}

CExplorerDragImage::CExplorerDragImage(const QPixmap& itemImage)
    : QWidget(nullptr,
              Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput | Qt::WindowDoesNotAcceptFocus),
      m_item(itemImage), m_copySign(DragCopySign())
{
    setObjectName(QStringLiteral("ExplorerDragImage"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_TranslucentBackground);
    const QRect sign = CopySignRect();
    resize(std::max(m_item.width(), sign.right() + 1), std::max(m_item.height(), sign.bottom() + 1));
}

QRect CExplorerDragImage::CopySignRect() const
{
    // Just below and right of the pointer, as a copy cursor carries it.
    return QRect(12, kPointerOffset + 2, 16, 16);
}

void CExplorerDragImage::MoveTo(QPoint pointer)
{
    move(pointer.x(), pointer.y() - kPointerOffset);
    if (!isVisible())
        show();
}

void CExplorerDragImage::SetCopySign(bool copy)
{
    if (copy == m_copy)
        return;
    m_copy = copy;
    update();
}

void CExplorerDragImage::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setOpacity(0.7);
    painter.drawPixmap(0, 0, m_item);
    if (m_copy) {
        painter.setOpacity(1.0);
        painter.drawPixmap(CopySignRect().topLeft(), m_copySign);
    }
}
