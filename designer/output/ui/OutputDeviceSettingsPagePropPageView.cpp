#include "designer/output/ui/OutputDeviceSettingsPagePropPageView.h"

#include "platform/ui/qt/UpDownControl.h"

#include <QCheckBox>
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

using Page = COutputDeviceSettingsPagePropPage;

// The indent of what belongs to a radio button, under its text.
constexpr int kChoiceIndent = 20;
// Wide enough for three digits.
constexpr int kNumberWidth = 48;

} // namespace

COutputDeviceSettingsPagePropPageView::COutputDeviceSettingsPagePropPageView(Page& model, QWidget* parent)
    : COutputDevicePropPageView(model, parent)
{
    auto position = [this](int editId, int upDownId) { return NumberWithUpDown(editId, upDownId, kNumberWidth); };

    QGroupBox* firstPage = Group(Page::IDC_FIRST_PAGE_GROUP);
    auto* grid = new QGridLayout(firstPage);
    grid->setColumnMinimumWidth(0, kChoiceIndent);
    grid->setColumnStretch(5, 1);
    QComboBox* comparison = DropList(Page::IDC_OPERATOR);
    grid->addWidget(comparison, 0, 0, 1, 3);

    QRadioButton* compareText = Radio(Page::IDC_COMPARE_DATA_TEXT);
    QCheckBox* andPosition = Check(Page::IDC_AND_POSITION);
    grid->addWidget(compareText, 1, 0, 1, 3);
    grid->addWidget(andPosition, 1, 3, 1, 3);
    grid->addWidget(Edit(Page::IDC_COMPARE_TEXT, Page::kTextLimit), 2, 1, 1, 5);

    QRadioButton* comparePosition = Radio(Page::IDC_COMPARE_POSITION);
    grid->addWidget(comparePosition, 3, 0, 1, 6);
    grid->addWidget(Label(Page::IDC_COLUMN), 4, 1);
    grid->addLayout(position(Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN), 4, 2);
    grid->addWidget(Label(Page::IDC_WIDTH), 4, 3, Qt::AlignRight);
    grid->addLayout(position(Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN), 4, 4);
    grid->addWidget(Label(Page::IDC_LINE), 5, 1);
    grid->addLayout(position(Page::IDC_LINE, Page::IDC_LINE_SPIN), 5, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(firstPage);
    if (model.HasStartLine()) {
        auto* startLine = new QFormLayout;
        QLineEdit* edit = NumberEdit(Page::IDC_START_LINE, Page::kStartLineLimit);
        edit->setFixedWidth(kNumberWidth);
        startLine->addRow(Label(Page::IDC_START_LINE), edit);
        layout->addLayout(startLine);
    }
    if (model.HasCoverPage()) {
        QGroupBox* cover = Group(Page::IDC_COVER_PAGE_GROUP);
        auto* form = new QFormLayout(cover);
        form->addRow(Label(Page::IDC_LOGO), Edit(Page::IDC_LOGO, Page::kCoverLimit));
        form->addRow(Label(Page::IDC_SIGNATURE), Edit(Page::IDC_SIGNATURE, Page::kCoverLimit));
        layout->addWidget(cover);
    }
    layout->addStretch(1);

    connect(compareText, &QRadioButton::clicked, this,
            [this, &model] { Forward([&model] { return model.OnCompareDataTextClicked(); }); });
    connect(comparePosition, &QRadioButton::clicked, this,
            [this, &model] { Forward([&model] { return model.OnComparePositionClicked(); }); });
    connect(andPosition, &QCheckBox::clicked, this,
            [this, &model] { Forward([&model] { return model.OnAndPositionClicked(); }); });

    InitDialog();
}
