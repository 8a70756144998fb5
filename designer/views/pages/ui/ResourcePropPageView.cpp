#include "designer/views/pages/ui/ResourcePropPageView.h"

#include "platform/ui/qt/DialogBinder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Page = CResourcePropPage;

// Wide enough for three digits.
constexpr int kNumberWidth = 48;

} // namespace

CResourcePropPageView::CResourcePropPageView(CResourcePropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent)
{
    model.SetDialogParent(this);
    auto* layout = new QVBoxLayout(this);
    QGroupBox* file = Group(Page::IDC_FILE_GROUP);
    file->setObjectName(QString());
    auto* fileLayout = new QVBoxLayout(file);
    fileLayout->addWidget(NameDialogControl(new QComboBox(this), Page::IDC_RESOURCE_LIST));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(NameDialogControl(new QPushButton(model.GetLabel(Page::IDC_RELOAD), this), Page::IDC_RELOAD));
    buttons->addWidget(NameDialogControl(new QPushButton(model.GetLabel(Page::IDC_BROWSE), this), Page::IDC_BROWSE));
    fileLayout->addLayout(buttons);
    layout->addWidget(file);

    auto* grid = new QGridLayout;
    grid->addWidget(Label(Page::IDC_FORMAT), 0, 0);
    grid->addWidget(NameDialogControl(new QComboBox(this), Page::IDC_FORMAT), 0, 1);
    grid->addWidget(Label(Page::IDC_QUALITY), 1, 0);
    QLineEdit* quality = NumberEdit(Page::IDC_QUALITY);
    quality->setAlignment(Qt::AlignRight);
    quality->setFixedWidth(kNumberWidth);
    grid->addWidget(quality, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    layout->addStretch(1);
    InitDialog();
}
