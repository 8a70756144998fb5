#include "designer/shell/OptionsGeneralPropPageView.h"

#include "designer/preferences/ElementColourTable.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

using Page = COptionsGeneralPropPage;

// Each row: its name from a quarter of the width on, and before it a swatch
// of its colour framed in black.
class ColourRowDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), Page::kColourItemHeight};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QRect item = option.rect;
        const QPalette& palette = option.palette;
        const bool selected = option.state & QStyle::State_Selected;
        const bool enabled = option.state & QStyle::State_Enabled;
        painter->save();
        QColor text = palette.color(QPalette::WindowText);
        if (selected) {
            painter->fillRect(item, palette.color(QPalette::Highlight));
            text = QColor(255 - text.red(), 255 - text.green(), 255 - text.blue());
        } else {
            painter->fillRect(item, palette.color(QPalette::Base));
        }
        if (option.state & QStyle::State_HasFocus) {
            QStyleOptionFocusRect focus;
            focus.QStyleOption::operator=(option);
            focus.backgroundColor = palette.color(selected ? QPalette::Highlight : QPalette::Base);
            option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
        }

        const int quarter = item.width() / 4;
        painter->setPen(text);
        painter->setFont(option.font);
        const QRect textRect(item.left() + quarter + 2, item.top() + 2, item.width() - quarter - 2, item.height() - 2);
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop, index.data(Qt::DisplayRole).toString());

        const int row = index.data(Qt::UserRole).toInt();
        QColor fill = palette.color(QPalette::Disabled, QPalette::WindowText);
        if (enabled && row >= 0 && row < kElementColourRows)
            fill = kwvd::ToQColor(ElementColourTable()[static_cast<size_t>(row)].colour);
        const QRect swatch(QPoint(item.left() + 2, item.top() + 2), QPoint(item.left() + quarter, item.bottom() - 2));
        painter->fillRect(swatch, fill);
        painter->setPen(Qt::black);
        painter->drawRect(swatch);
        painter->restore();
    }
};

} // namespace

COptionsGeneralPropPageView::COptionsGeneralPropPageView(COptionsGeneralPropPage& model, QWidget* parent)
    : COptionsPropPageView(model, parent)
{
    auto* layout = new QVBoxLayout(this);

    QGroupBox* zoom = Group(Page::IDC_ZOOM_GROUP);
    auto* zoomGrid = new QGridLayout(zoom);
    int row = 0;
    for (const int id : {int(Page::IDC_INPUT_ZOOM), int(Page::IDC_OUTPUT_ZOOM)}) {
        QComboBox* list = DropList(id);
        zoomGrid->addWidget(Label(id), row, 0);
        zoomGrid->addWidget(list, row++, 1);
        connect(list, &QComboBox::activated, this,
                [this, &model, id] { Forward([&model, id] { return model.OnZoomChosen(id); }); });
    }
    layout->addWidget(zoom);

    QGroupBox* general = Group(Page::IDC_GENERAL_GROUP);
    auto* generalGrid = new QGridLayout(general);
    generalGrid->addWidget(Check(Page::IDC_SPLASH), 0, 0, 1, 2);
    generalGrid->addWidget(Label(Page::IDC_IMAGE_FORMAT), 1, 0);
    generalGrid->addWidget(DropList(Page::IDC_IMAGE_FORMAT), 1, 1);
    generalGrid->addWidget(Label(Page::IDC_UNDO_SIZE), 2, 0);
    generalGrid->addWidget(Edit(Page::IDC_UNDO_SIZE), 2, 1);
    layout->addWidget(general);

    QGroupBox* colours = Group(Page::IDC_COLOUR_GROUP);
    auto* colourRow = new QHBoxLayout(colours);
    m_colours = NameDialogControl(new QListWidget(this), Page::IDC_COLOUR_LIST);
    m_colours->setUniformItemSizes(true);
    m_colours->setItemDelegate(new ColourRowDelegate(m_colours));
    m_colours->setMinimumHeight(Page::kColourItemHeight * 8);
    colourRow->addWidget(m_colours, 1);
    QPushButton* change = Button(Page::IDC_CHANGE_COLOUR);
    colourRow->addWidget(change, 0, Qt::AlignTop);
    connect(change, &QPushButton::clicked, this, [this, &model] {
        Forward([&model] {
            model.OnChangeColour();
            return true;
        });
    });
    layout->addWidget(colours, 1);

    InitDialog();
}

void COptionsGeneralPropPageView::AfterShow()
{
    for (int row = 0; row < m_colours->count(); ++row)
        m_colours->item(row)->setData(Qt::UserRole, row);
}
