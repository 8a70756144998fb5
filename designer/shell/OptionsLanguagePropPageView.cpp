#include "designer/shell/OptionsLanguagePropPageView.h"

#include "designer/controls/CCSIDComboBox.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

using Page = COptionsLanguagePropPage;

} // namespace

COptionsLanguagePropPageView::COptionsLanguagePropPageView(COptionsLanguagePropPage& model, QWidget* parent)
    : COptionsPropPageView(model, parent)
{
    auto* grid = new QGridLayout(this);
    auto* codePages = NameDialogControl(new CCSIDComboBox(this), Page::IDC_CODE_PAGE);
    codePages->FillCCSIDs();
    // Some descriptions are long: the box stays a sensible width and the
    // open list shows them whole.
    codePages->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    codePages->setMinimumContentsLength(32);
    grid->addWidget(Label(Page::IDC_CODE_PAGE), 0, 0);
    grid->addWidget(codePages, 0, 1);
    grid->addWidget(Label(Page::IDC_CHAR_SET), 1, 0);
    grid->addWidget(DropList(Page::IDC_CHAR_SET), 1, 1);
    grid->addWidget(Label(Page::IDC_SERVER_CODE_PAGE), 2, 0);
    grid->addWidget(Edit(Page::IDC_SERVER_CODE_PAGE, Page::kServerCodePageLength), 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(3, 1);
    InitDialog();
}
