#include "designer/controls/ComboBoxClr.h"
#include "designer/preferences/ColourRef.h"

#include <QPainter>
#include <QStylePainter>

void CComboBoxClrDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const QAbstractItemModel* model = index.model();
    if (!model || model->rowCount(index.parent()) <= 0 || !index.isValid() || index.row() >= model->rowCount())
        return;
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->save();
    QColor textColour = option.palette.color(QPalette::Text);
    if (option.state & QStyle::State_Selected) {
        textColour = option.palette.color(QPalette::HighlightedText);
        painter->fillRect(option.rect, option.palette.color(QPalette::Highlight));
    } else {
        painter->fillRect(option.rect, option.palette.color(QPalette::Base));
    }
    COLORREF colour = 0;
    if (*m_callback && (*m_callback)(index.data(Qt::UserRole).toUInt(), &colour))
        textColour = kwvd::ToQColor(colour);
    painter->setPen(textColour);
    painter->setFont(option.font);
    painter->drawText(option.rect.adjusted(1, 0, -1, 0), Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine, text);
    painter->restore();
}

CComboBoxClr::CComboBoxClr(QWidget* parent)
    : QComboBox(parent), m_delegate(new CComboBoxClrDelegate(&m_pColorCallback, this))
{
    setItemDelegate(m_delegate);
}

void CComboBoxClr::paintEvent(QPaintEvent*)
{
    // The frame and button from the style; the selection's text through the
    // same drawing as the list, so its colour matches.
    QStylePainter painter(this);
    QStyleOptionComboBox box;
    initStyleOption(&box);
    box.currentText.clear();
    box.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, box);
    if (currentIndex() < 0)
        return;
    QStyleOptionViewItem item;
    item.initFrom(this);
    item.rect = style()->subControlRect(QStyle::CC_ComboBox, &box, QStyle::SC_ComboBoxEditField, this);
    item.font = font();
    if (hasFocus())
        item.state |= QStyle::State_Selected;
    else
        item.state &= ~QStyle::State_Selected;
    m_delegate->paint(&painter, item, model()->index(currentIndex(), modelColumn(), rootModelIndex()));
}
