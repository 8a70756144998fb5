#include "designer/output/ui/OutputDeviceSettingsDestinationPropPageView.h"

#include "designer/controls/SelectiveEdit.h"
#include "platform/ui/qt/UpDownControl.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using Page = COutputDeviceSettingsDestinationPropPage;

// The indent of what belongs to a radio button, under its text.
constexpr int kChoiceIndent = 20;
// Wide enough for three digits.
constexpr int kNumberWidth = 48;
// Upper case as typed, as the host names programs and libraries.
constexpr int kUpperCase = 1;

} // namespace

COutputDeviceSettingsDestinationPropPageView::COutputDeviceSettingsDestinationPropPageView(Page& model, QWidget* parent)
    : COutputDevicePropPageView(model, parent)
{
    auto position = [this](int editId, int upDownId) { return NumberWithUpDown(editId, upDownId, kNumberWidth); };
    auto hostName = [this](int id) {
        auto* edit = new CSelectiveEdit(this);
        edit->setObjectName(QString::number(id));
        edit->m_caseMode = kUpperCase;
        edit->m_maxLength = Page::kProgramLimit;
        return edit;
    };

    // Made in tab order; the layout places them.
    QGroupBox* group = Group(Page::IDC_DESTINATION_GROUP);
    auto* grid = new QGridLayout(group);
    grid->setColumnMinimumWidth(0, kChoiceIndent);
    grid->setColumnStretch(5, 1);
    QRadioButton* textMode = Radio(Page::IDC_TEXT_MODE);
    QRadioButton* positionMode = Radio(Page::IDC_POSITION_MODE);
    grid->addWidget(textMode, 0, 0, 1, 6);
    grid->addWidget(Edit(Page::IDC_TEXT, model.TextLimit()), 1, 1, 1, 5);
    grid->addWidget(positionMode, 2, 0, 1, 6);
    grid->addWidget(Label(Page::IDC_COLUMN), 3, 1);
    grid->addLayout(position(Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN), 3, 2);
    grid->addWidget(Label(Page::IDC_WIDTH), 3, 3, Qt::AlignRight);
    grid->addLayout(position(Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN), 3, 4);
    grid->addWidget(Label(Page::IDC_LINE), 4, 1);
    grid->addLayout(position(Page::IDC_LINE, Page::IDC_LINE_SPIN), 4, 2);

    auto* target = new QFormLayout;
    QComboBox* type = DropList(Page::IDC_TYPE);
    target->addRow(Label(Page::IDC_TYPE), type);
    target->addRow(Label(Page::IDC_PROGRAM), hostName(Page::IDC_PROGRAM));
    target->addRow(Label(Page::IDC_LIBRARY), hostName(Page::IDC_LIBRARY));
    grid->addLayout(target, 5, 0, 1, 6);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    if (model.HasConfirmation()) {
        auto* confirmation = new QFormLayout;
        confirmation->addRow(Label(Page::IDC_CONFIRMATION), DropList(Page::IDC_CONFIRMATION));
        layout->addLayout(confirmation);
    }
    layout->addStretch(1);

    connect(textMode, &QRadioButton::clicked, this,
            [this, &model] { Forward([&model] { return model.OnChoiceChanged(); }); });
    connect(type, &QComboBox::activated, this,
            [this, &model] { Forward([&model] { return model.OnChoiceChanged(); }); });
    connect(positionMode, &QRadioButton::clicked, this,
            [this, &model] { Forward([&model] { return model.OnPositionModeClicked(); }); });

    InitDialog();
}
