#include "designer/output/ui/OutputDeviceSettingsPrintGeneralPropPageView.h"

#include "platform/ui/qt/DialogBinder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using Page = COutputDeviceSettingsPrintGenPropPage;

// What sits in the left-hand column: where the output goes and its form.
bool InLeftColumn(int id)
{
    switch (id) {
    case Page::IDC_PRINTER_DEVICE:
    case Page::IDC_OUTPUT_QUEUE:
    case Page::IDC_LIBRARY:
    case Page::IDC_USER_DATA:
    case Page::IDC_FORM:
    case Page::IDC_HOLD:
    case Page::IDC_SAVE:
    case Page::IDC_PDF_DATASTREAM:
        return true;
    default:
        return false;
    }
}

bool IsCopiesControl(int id)
{
    return id == Page::IDC_COPIES || id == Page::IDC_COPIES_NUMBER || id == Page::IDC_COPIES_FROM_SPOOLED_FILE;
}

// Wide enough for three digits.
constexpr int kNumberWidth = 48;

} // namespace

COutputDeviceSettingsPrintGenPropPageView::COutputDeviceSettingsPrintGenPropPageView(Page& model, QWidget* parent)
    : COutputDevicePropPageView(model, parent), m_page(model)
{
    auto* left = new QGridLayout;
    auto* right = new QGridLayout;
    auto* nameRow = new QHBoxLayout;
    int copiesRow = -1;
    auto* copiesBox = new QHBoxLayout;
    const int textWidth = fontMetrics().horizontalAdvance(QStringLiteral("MMMMMMMMM"));
    // Made in tab order, which is the order Tab follows; placed by column.
    for (const int id : model.TabOrder()) {
        QWidget* widget = MakeControl(id);
        Connect(id, widget);
        if (id == Page::IDC_NAME) {
            nameRow->addWidget(Label(id));
            nameRow->addWidget(widget, 1);
            continue;
        }
        QGridLayout* grid = InLeftColumn(id) ? left : right;
        if (IsCopiesControl(id)) {
            // The number with its radio button beside it, the other below.
            if (copiesRow < 0) {
                copiesRow = grid->rowCount();
                grid->addWidget(Label(Page::IDC_COPIES), copiesRow, 0);
                grid->addLayout(copiesBox, copiesRow, 1, 1, 2);
            }
            if (id == Page::IDC_COPIES)
                copiesBox->insertWidget(0, widget);
            else if (id == Page::IDC_COPIES_NUMBER)
                copiesBox->addWidget(widget);
            else
                grid->addWidget(widget, copiesRow + 1, 1, 1, 2);
            continue;
        }
        const int row = grid->rowCount();
        if (qobject_cast<QCheckBox*>(widget)) {
            grid->addWidget(widget, row, 0, 1, 3);
            continue;
        }
        if (qobject_cast<QLineEdit*>(widget) || qobject_cast<QComboBox*>(widget))
            widget->setMinimumWidth(textWidth);
        grid->addWidget(Label(id == Page::IDC_OFFSETS ? Page::IDC_OFFSETS_LABEL : id), row, 0);
        grid->addWidget(widget, row, 1, 1, 2);
    }
    copiesBox->addStretch(1);
    for (QGridLayout* grid : {left, right}) {
        grid->setColumnStretch(1, 1);
        grid->setRowStretch(grid->rowCount(), 1);
    }
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addSpacing(12);
    columns->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(nameRow);
    layout->addStretch(1);

    ChainTabOrder(model.TabOrder());
    InitDialog();
}

QWidget* COutputDeviceSettingsPrintGenPropPageView::MakeControl(int id)
{
    switch (id) {
    case Page::IDC_PRINTER_DEVICE:
    case Page::IDC_OUTPUT_QUEUE: {
        QComboBox* box = DropList(id);
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        LimitTypedLength(box->lineEdit(), Page::kNameLimit);
        return box;
    }
    case Page::IDC_LIBRARY:
    case Page::IDC_USER_DATA:
    case Page::IDC_FORM:
        return UpperEdit(id, Page::kNameLimit);
    case Page::IDC_DRAWER:
    case Page::IDC_NO_PRINT_BORDER:
        return UpperEdit(id, Page::kDrawerLimit);
    case Page::IDC_PAGE_HEIGHT:
    case Page::IDC_PAGE_WIDTH:
        return UpperEdit(id, Page::kSizeLimit);
    case Page::IDC_COPIES: {
        QLineEdit* edit = NumberEdit(id);
        edit->setFixedWidth(kNumberWidth);
        return edit;
    }
    case Page::IDC_START_LINE:
        return NumberEdit(id, Page::kSizeLimit);
    case Page::IDC_HOLD:
    case Page::IDC_SAVE:
    case Page::IDC_PDF_DATASTREAM:
        return Check(id);
    case Page::IDC_COPIES_NUMBER:
    case Page::IDC_COPIES_FROM_SPOOLED_FILE:
        return Radio(id);
    case Page::IDC_FONT_GROUP: {
        QLineEdit* edit = Edit(id, Page::kFontGroupLimit);
        edit->setReadOnly(true);
        return edit;
    }
    case Page::IDC_PRINTER_RESOURCE:
        return Edit(id, Page::kFontGroupLimit);
    case Page::IDC_OFFSETS: {
        auto* button = new QPushButton(m_page.GetLabel(id), this);
        button->setObjectName(QString::number(id));
        return button;
    }
    case Page::IDC_NAME:
        return StaticText(id);
    default:
        return DropList(id);
    }
}

void COutputDeviceSettingsPrintGenPropPageView::Connect(int id, QWidget* widget)
{
    Page& page = m_page;
    switch (id) {
    case Page::IDC_OUTPUT_QUEUE: {
        auto* box = static_cast<QComboBox*>(widget);
        OnFocusOut(box, [this, &page] {
            const QWidget* focused = QApplication::focusWidget();
            const int focusedId = focused ? focused->objectName().toInt() : 0;
            bool toLibrary = false;
            Forward([&] {
                toLibrary = page.OnOutputQueueKillFocus(focusedId);
                return true;
            });
            if (toLibrary) {
                if (auto* library = findChild<QLineEdit*>(QString::number(Page::IDC_LIBRARY)))
                    library->setFocus(Qt::TabFocusReason);
            }
        });
        connect(box, &QComboBox::activated, this, [this, box, &page](int index) {
            if (index >= 0)
                Forward([&page, entry = box->itemText(index)] { return page.OnOutputQueueSelected(entry); });
        });
        break;
    }
    case Page::IDC_COPIES:
        OnFocusOut(widget, [this, &page] { Forward([&page] { return page.OnCopiesKillFocus(); }); });
        break;
    case Page::IDC_COPIES_NUMBER:
    case Page::IDC_COPIES_FROM_SPOOLED_FILE:
        connect(static_cast<QRadioButton*>(widget), &QRadioButton::clicked, this,
                [this, &page] { Forward([&page] { return page.OnCopiesSourceClicked(); }); });
        break;
    case Page::IDC_OFFSETS:
        connect(static_cast<QPushButton*>(widget), &QPushButton::clicked, this, [&page] { page.OnOffsets(); });
        break;
    default:
        break;
    }
}
