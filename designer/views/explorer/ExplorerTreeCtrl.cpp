#include "designer/views/explorer/ExplorerTreeCtrl.h"

#include "designer/document/RegisteredMessages.h"
#include "designer/elements/FormElement.h"
#include "designer/views/explorer/ExplorerDrag.h"
#include "designer/views/explorer/ExplorerIcons.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>

namespace {

// An item with its element and its place for a reorder: Qt's own sort of
// the children keeps expansion and the caret, which taking the children out
// and putting them back would lose.
class ExplorerTreeItem : public QTreeWidgetItem
{
public:
    ExplorerTreeItem(CFormElement* element, int type) : m_element(element), m_type(type) {}

    CFormElement* Element() const { return m_element; }
    int Type() const { return m_type; }
    int sortKey = 0;

    bool operator<(const QTreeWidgetItem& other) const override
    {
        return sortKey < static_cast<const ExplorerTreeItem&>(other).sortKey;
    }

private:
    CFormElement* m_element;
    int m_type;
};

ExplorerTreeItem* AsExplorerItem(QTreeWidgetItem* item)
{
    return static_cast<ExplorerTreeItem*>(item);
}

// While a label is edited every key is the editor's: the window's
// shortcuts (Delete, Ctrl+X, Ctrl+Z, Enter, Escape...) must not fire.
class EditorKeyKeeper : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::ShortcutOverride) {
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

class LabelDelegate : public QStyledItemDelegate
{
public:
    LabelDelegate(CExplorerTreeCtrl& tree) : QStyledItemDelegate(&tree), m_tree(tree) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            line->setMaxLength(CExplorerTreeCtrl::kLabelLimit);
            line->setObjectName(QStringLiteral("LabelEdit"));
            line->installEventFilter(new EditorKeyKeeper(line));
        }
        return editor;
    }

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        auto* line = qobject_cast<QLineEdit*>(editor);
        QTreeWidgetItem* item = m_tree.itemFromIndex(index);
        if (line == nullptr || item == nullptr)
            return;
        const QString text = line->text().left(CExplorerTreeCtrl::kLabelLimit);
        if (m_tree.EndLabelEdit(CExplorerTreeCtrl::ToItem(item), text))
            m_tree.SetItemText(CExplorerTreeCtrl::ToItem(item), text);
    }

private:
    CExplorerTreeCtrl& m_tree;
};

} // namespace

CExplorerTreeCtrl::CExplorerTreeCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("ExplorerTree"));
    setColumnCount(1);
    header()->hide();
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setExpandsOnDoubleClick(false);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setIconSize(QSize(16, 16));
    setFrameShape(QFrame::NoFrame);
    setItemDelegate(new LabelDelegate(*this));
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem* current, QTreeWidgetItem*) { emit caretChanged(current); });
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { RefreshImage(item); });
    connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem* item) { RefreshImage(item); });
}

CExplorerTreeCtrl::~CExplorerTreeCtrl() = default;

void CExplorerTreeCtrl::SetImageList(std::vector<QIcon> images)
{
    m_images = std::move(images);
    for (QTreeWidgetItemIterator it(this); *it != nullptr; ++it)
        RefreshImage(*it);
}

void CExplorerTreeCtrl::RefreshImage(QTreeWidgetItem* item)
{
    const int index = GetItemImage(ToItem(item));
    item->setIcon(0, index >= 0 ? m_images[size_t(index)] : QIcon());
}

int CExplorerTreeCtrl::GetItemImage(TreeItem item) const
{
    QTreeWidgetItem* qitem = FromItem(item);
    if (qitem == nullptr)
        return -1;
    const int index = GetElementIcon(AsExplorerItem(qitem)->Type(), qitem->isExpanded());
    return index < int(m_images.size()) ? index : -1;
}

QString CExplorerTreeCtrl::GetItemText(TreeItem item) const
{
    return item != nullptr ? FromItem(item)->text(0) : QString();
}

QLineEdit* CExplorerTreeCtrl::GetEditControl() const
{
    if (state() != QAbstractItemView::EditingState)
        return nullptr;
    return viewport()->findChild<QLineEdit*>(QStringLiteral("LabelEdit"));
}

void CExplorerTreeCtrl::EditLabel(TreeItem item)
{
    if (item != nullptr)
        editItem(FromItem(item), 0);
}

// ---------------------------------------------------------------- items

void CExplorerTreeCtrl::DeleteAllItems()
{
    // The caret goes with the items: nobody is told of a neighbour.
    const QSignalBlocker quiet(this);
    setCurrentItem(nullptr);
    clear();
}

TreeItem CExplorerTreeCtrl::InsertItem(TreeItem parent, const QString& text, CFormElement* element)
{
    auto* item = new ExplorerTreeItem(element, element != nullptr ? element->GetType() : 0);
    item->setText(0, text);
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    if (parent != nullptr)
        FromItem(parent)->addChild(item);
    else
        addTopLevelItem(item);
    RefreshImage(item);
    return ToItem(item);
}

void CExplorerTreeCtrl::DeleteItem(TreeItem item)
{
    QTreeWidgetItem* doomed = FromItem(item);
    if (doomed == nullptr)
        return;
    QTreeWidgetItem* parent = doomed->parent();
    bool holdsCaret = false;
    for (QTreeWidgetItem* at = currentItem(); at != nullptr; at = at->parent())
        holdsCaret = holdsCaret || at == doomed;
    if (holdsCaret) {
        // Qt would move the caret to a neighbour and report it; the item's
        // element is on its way out, so the caret goes nowhere instead.
        const QSignalBlocker quiet(this);
        setCurrentItem(nullptr);
        delete doomed;
    } else {
        delete doomed;
    }
    if (parent != nullptr && parent->childCount() == 0)
        RefreshImage(parent);
}

void CExplorerTreeCtrl::SetItemText(TreeItem item, const QString& text)
{
    if (item != nullptr)
        FromItem(item)->setText(0, text);
}

void CExplorerTreeCtrl::ReorderChildren(TreeItem parent, const std::vector<TreeItem>& order)
{
    QTreeWidgetItem* holder = parent != nullptr ? FromItem(parent) : invisibleRootItem();
    if (int(order.size()) != holder->childCount())
        return;
    bool changed = false;
    for (size_t i = 0; i < order.size(); ++i) {
        AsExplorerItem(FromItem(order[i]))->sortKey = int(i);
        changed = changed || holder->child(int(i)) != FromItem(order[i]);
    }
    if (changed)
        holder->sortChildren(0, Qt::AscendingOrder);
}

// ---------------------------------------------------------------- navigation

TreeItem CExplorerTreeCtrl::GetRootItem() const
{
    return ToItem(topLevelItem(0));
}

TreeItem CExplorerTreeCtrl::GetChildItem(TreeItem item) const
{
    QTreeWidgetItem* holder = item != nullptr ? FromItem(item) : invisibleRootItem();
    return ToItem(holder->child(0));
}

TreeItem CExplorerTreeCtrl::GetNextSiblingItem(TreeItem item) const
{
    QTreeWidgetItem* qitem = FromItem(item);
    if (qitem == nullptr)
        return nullptr;
    QTreeWidgetItem* holder = qitem->parent() != nullptr ? qitem->parent() : invisibleRootItem();
    return ToItem(holder->child(holder->indexOfChild(qitem) + 1));
}

TreeItem CExplorerTreeCtrl::GetPrevSiblingItem(TreeItem item) const
{
    QTreeWidgetItem* qitem = FromItem(item);
    if (qitem == nullptr)
        return nullptr;
    QTreeWidgetItem* holder = qitem->parent() != nullptr ? qitem->parent() : invisibleRootItem();
    const int index = holder->indexOfChild(qitem);
    return index > 0 ? ToItem(holder->child(index - 1)) : nullptr;
}

TreeItem CExplorerTreeCtrl::GetParentItem(TreeItem item) const
{
    return item != nullptr ? ToItem(FromItem(item)->parent()) : nullptr;
}

TreeItem CExplorerTreeCtrl::GetFirstVisibleItem() const
{
    // Scrolling goes by whole items: the scroll bar's value counts the items
    // above the window among those not hidden in collapsed branches.
    const_cast<CExplorerTreeCtrl*>(this)->executeDelayedItemsLayout();
    QTreeWidgetItem* item = topLevelItem(0);
    for (int skip = verticalScrollBar()->value(); item != nullptr && skip > 0; --skip)
        item = itemBelow(item);
    return ToItem(item);
}

TreeItem CExplorerTreeCtrl::GetNextVisibleItem(TreeItem item) const
{
    return item != nullptr ? ToItem(itemBelow(FromItem(item))) : nullptr;
}

TreeItem CExplorerTreeCtrl::GetCaretItem() const
{
    return ToItem(currentItem());
}

CFormElement* CExplorerTreeCtrl::GetItemElement(TreeItem item) const
{
    return item != nullptr ? AsExplorerItem(FromItem(item))->Element() : nullptr;
}

BOOL CExplorerTreeCtrl::IsExpanded(TreeItem item) const
{
    return item != nullptr && FromItem(item)->isExpanded() ? TRUE : FALSE;
}

// ---------------------------------------------------------------- changes

void CExplorerTreeCtrl::SelectCaret(TreeItem item)
{
    setCurrentItem(FromItem(item));
}

void CExplorerTreeCtrl::Expand(TreeItem item, BOOL expand)
{
    if (item != nullptr)
        FromItem(item)->setExpanded(expand != FALSE);
}

void CExplorerTreeCtrl::EnsureVisible(TreeItem item)
{
    QTreeWidgetItem* qitem = FromItem(item);
    if (qitem == nullptr)
        return;
    for (QTreeWidgetItem* above = qitem->parent(); above != nullptr; above = above->parent())
        above->setExpanded(true);
    scrollToItem(qitem, QAbstractItemView::EnsureVisible);
}

void CExplorerTreeCtrl::SetFirstVisible(TreeItem item)
{
    if (item != nullptr)
        scrollToItem(FromItem(item), QAbstractItemView::PositionAtTop);
}

void CExplorerTreeCtrl::SetRedraw(BOOL redraw)
{
    setUpdatesEnabled(redraw != FALSE);
    if (redraw)
        viewport()->update();
}

// ---------------------------------------------------------------- events

void CExplorerTreeCtrl::focusInEvent(QFocusEvent* event)
{
    QTreeWidget::focusInEvent(event);
    emit treeFocused();
}

void CExplorerTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The base stops a pending label edit; it does not expand, as set.
    QTreeWidget::mouseDoubleClickEvent(event);
    emit itemDoubleClickedOn(itemAt(event->position().toPoint()));
    event->accept();
}

void CExplorerTreeCtrl::keyPressEvent(QKeyEvent* event)
{
    ForwardKey(event, true);
    QTreeWidget::keyPressEvent(event);
}

void CExplorerTreeCtrl::keyReleaseEvent(QKeyEvent* event)
{
    ForwardKey(event, false);
    QTreeWidget::keyReleaseEvent(event);
}

void CExplorerTreeCtrl::ForwardKey(QKeyEvent* event, bool down)
{
    QWidget* parent = parentWidget();
    if (parent == nullptr)
        return;
    KeyRecord record;
    record.window = this;
    record.key = VirtualKeyOf(event->key());
    // The repeat count, and bit 30 for a key that was already down.
    record.flags = UINT(std::max(1, event->count())) | (event->isAutoRepeat() ? 0x40000000u : 0u);
    CRegisteredMessageEvent message(RegisteredMessages::TvnKeyEvent(), down ? 1 : 0,
                                    reinterpret_cast<std::intptr_t>(&record));
    QCoreApplication::sendEvent(parent, &message);
}

// ---------------------------------------------------------------- drag marks

void CExplorerTreeCtrl::SetInsertMark(TreeItem item, bool after)
{
    m_insertMark = item != nullptr ? QPersistentModelIndex(indexFromItem(FromItem(item))) : QPersistentModelIndex();
    m_markAfter = after;
    viewport()->update();
}

void CExplorerTreeCtrl::SetDropHighlight(TreeItem item)
{
    m_dropHighlight = item != nullptr ? QPersistentModelIndex(indexFromItem(FromItem(item))) : QPersistentModelIndex();
    viewport()->update();
}

QPixmap CExplorerTreeCtrl::CreateDragImage(TreeItem item) const
{
    QTreeWidgetItem* qitem = FromItem(item);
    if (qitem == nullptr)
        return QPixmap();
    const QString text = qitem->text(0);
    const QFontMetrics metrics = fontMetrics();
    const int height = std::max(iconSize().height(), metrics.height()) + 2;
    QPixmap image(iconSize().width() + 4 + metrics.horizontalAdvance(text) + 2, height);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.drawPixmap(0, (height - iconSize().height()) / 2, qitem->icon(0).pixmap(iconSize()));
    painter.setFont(font());
    painter.setPen(palette().color(QPalette::Text));
    painter.drawText(QRect(iconSize().width() + 4, 0, image.width(), height), Qt::AlignVCenter | Qt::AlignLeft, text);
    return image;
}

void CExplorerTreeCtrl::paintEvent(QPaintEvent* event)
{
    QTreeWidget::paintEvent(event);
    if (!m_dropHighlight.isValid() && !m_insertMark.isValid())
        return;
    QPainter painter(viewport());
    if (m_dropHighlight.isValid()) {
        const QRect row = visualRect(m_dropHighlight);
        QColor fill = palette().color(QPalette::Highlight);
        fill.setAlpha(96);
        painter.fillRect(row, fill);
        painter.setPen(palette().color(QPalette::Highlight));
        painter.drawRect(row.adjusted(0, 0, -1, -1));
    }
    if (m_insertMark.isValid()) {
        // A line across the label with a tick at each end.
        const QRect row = visualRect(m_insertMark);
        const int y = m_markAfter ? row.bottom() : row.top();
        const int right = viewport()->width() - 2;
        painter.fillRect(QRect(row.left(), y - 1, right - row.left(), 2), Qt::black);
        painter.fillRect(QRect(row.left(), y - 3, 2, 6), Qt::black);
        painter.fillRect(QRect(right - 2, y - 3, 2, 6), Qt::black);
    }
}
