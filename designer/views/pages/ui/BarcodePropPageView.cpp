#include "designer/views/pages/ui/BarcodePropPageView.h"

#include "platform/ui/qt/DialogBinder.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Page = CBarcodePropPage;

} // namespace

CBarcodePropPageView::CBarcodePropPageView(CBarcodePropPage& model, QWidget* parent)
    : CDataPositionBlockView(model, parent)
{
    model.SetDialogParent(this);
    auto* layout = new QVBoxLayout(this);
    QLabel* description = Static(Page::IDC_FONT_DESCRIPTION);
    description->setAlignment(Qt::AlignRight);
    layout->addWidget(description);
    layout->addLayout(BlockLayout());

    auto* barcodeRow = new QHBoxLayout;
    barcodeRow->addWidget(Label(Page::IDC_BARCODE_LABEL));
    auto* list = NameDialogControl(new QComboBox(this), Page::IDC_BARCODE_LIST);
    barcodeRow->addWidget(list, 1);
    barcodeRow->addWidget(
        NameDialogControl(new QPushButton(model.GetLabel(Page::IDC_SETTINGS), this), Page::IDC_SETTINGS));
    barcodeRow->addWidget(NameDialogControl(new QPushButton(model.GetLabel(Page::IDC_FONT), this), Page::IDC_FONT));
    layout->addLayout(barcodeRow);
    layout->addStretch(1);
    InitDialog();
}
