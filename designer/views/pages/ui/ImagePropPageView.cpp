#include "designer/views/pages/ui/ImagePropPageView.h"

#include "designer/views/pages/ui/BarcodePropPageView.h"
#include "designer/views/pages/ui/ElementPropertySheetWnd.h"
#include "designer/views/pages/ui/ResourcePropPageView.h"
#include "platform/ui/qt/DialogBinder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

using Page = CImagePropPage;

// Wide enough for three digits.
constexpr int kNumberWidth = 48;

template <class Model, class View>
void RegisterView(UINT dialogId)
{
    CElementPropertySheetWnd::RegisterViewFactory(dialogId, [](CElementPropPage& page, QWidget* parent) {
        auto* model = dynamic_cast<Model*>(&page);
        return model != nullptr ? static_cast<QWidget*>(new View(*model, parent)) : nullptr;
    });
}

} // namespace

CImagePropPageView::CImagePropPageView(CImagePropPage& model, QWidget* parent)
    : CElementPropPageView(model, parent), m_page(model)
{
    m_page.SetDialogParent(this);
    auto* layout = new QVBoxLayout(this);

    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(
        NameDialogControl(new QRadioButton(model.GetLabel(Page::IDC_FILE_RADIO), this), Page::IDC_FILE_RADIO));
    fileRow->addWidget(Edit(Page::IDC_FILE_NAME), 1);
    fileRow->addWidget(NameDialogControl(new QPushButton(model.GetLabel(Page::IDC_BROWSE), this), Page::IDC_BROWSE));
    layout->addLayout(fileRow);

    auto* exportRow = new QHBoxLayout;
    exportRow->addWidget(Label(Page::IDC_FORMAT));
    exportRow->addWidget(NameDialogControl(new QComboBox(this), Page::IDC_FORMAT));
    exportRow->addWidget(Label(Page::IDC_QUALITY));
    QLineEdit* quality = NumberEdit(Page::IDC_QUALITY);
    quality->setAlignment(Qt::AlignRight);
    quality->setFixedWidth(kNumberWidth);
    exportRow->addWidget(quality);
    exportRow->addStretch(1);
    exportRow->addWidget(NameDialogControl(new QPushButton(model.GetLabel(Page::IDC_RELOAD), this), Page::IDC_RELOAD));
    layout->addLayout(exportRow);

    layout->addWidget(
        NameDialogControl(new QRadioButton(model.GetLabel(Page::IDC_POSITION_RADIO), this), Page::IDC_POSITION_RADIO));
    auto* groups = new QHBoxLayout;
    QGroupBox* position = Group(Page::IDC_POSITION_GROUP);
    auto* grid = new QGridLayout(position);
    NumberRow(grid, 0, Page::IDC_COLUMN, Page::IDC_COLUMN_SPIN)->setFixedWidth(kNumberWidth);
    NumberRow(grid, 1, Page::IDC_LINE, Page::IDC_LINE_SPIN)->setFixedWidth(kNumberWidth);
    grid->addWidget(Check(Page::IDC_FORCE_ABSOLUTE), 2, 0, 1, 3);
    groups->addWidget(position);
    QGroupBox* size = Group(Page::IDC_SIZE_GROUP);
    size->setObjectName(QString());
    auto* sizeGrid = new QGridLayout(size);
    NumberRow(sizeGrid, 0, Page::IDC_WIDTH, Page::IDC_WIDTH_SPIN)->setFixedWidth(kNumberWidth);
    sizeGrid->setRowStretch(1, 1);
    groups->addWidget(size, 0, Qt::AlignTop);
    layout->addLayout(groups);
    layout->addStretch(1);
    InitDialog();
}

std::pair<int, int> CImagePropPageView::UpDownRange(int editId) const
{
    return m_page.Range(editId);
}

void RegisterImageKindPageViews()
{
    RegisterView<CImagePropPage, CImagePropPageView>(CImagePropPage::IDD);
    RegisterView<CBarcodePropPage, CBarcodePropPageView>(CBarcodePropPage::IDD);
    RegisterView<CResourcePropPage, CResourcePropPageView>(CResourcePropPage::IDD);
}
