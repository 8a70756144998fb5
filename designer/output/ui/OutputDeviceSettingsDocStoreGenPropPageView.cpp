#include "designer/output/ui/OutputDeviceSettingsDocStoreGenPropPageView.h"

#include "designer/controls/ComboBoxClr.h"
#include "designer/output/ui/OutputDeviceFileGroupView.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using Page = COutputDeviceSettingsDocStoreGenPropPage;

} // namespace

COutputDeviceSettingsDocStoreGenPropPageView::COutputDeviceSettingsDocStoreGenPropPageView(Page& model, QWidget* parent)
    : COutputDevicePropPageView(model, parent), m_page(model)
{
    CComboBoxClr* stores = ColourDropListWithCloseUp(Page::IDC_STORE, [&model] { model.OnCloseupStore(); });
    CComboBoxClr* docTypes = ColourDropListWithCloseUp(Page::IDC_DOC_TYPE, [&model] { model.OnCloseupDocType(); });
    for (CComboBoxClr* list : {stores, docTypes})
        list->m_pColorCallback = &Page::GetItemColour;

    auto* refresh = new QPushButton(model.GetLabel(Page::IDC_REFRESH), this);
    refresh->setObjectName(QString::number(Page::IDC_REFRESH));
    connect(refresh, &QPushButton::clicked, this, [this, &model] {
        Forward([&model] {
            model.OnRefresh();
            return true;
        });
    });

    auto* storeRow = new QHBoxLayout;
    storeRow->addWidget(stores, 1);
    storeRow->addWidget(refresh);

    auto* catalogue = new QFormLayout;
    catalogue->addRow(Label(Page::IDC_NAME), StaticText(Page::IDC_NAME));
    catalogue->addRow(Label(Page::IDC_STORE), storeRow);
    catalogue->addRow(QString(), StaticText(Page::IDC_STORE_DESCRIPTION));
    catalogue->addRow(Label(Page::IDC_DOC_TYPE), docTypes);
    catalogue->addRow(QString(), StaticText(Page::IDC_DOC_TYPE_DESCRIPTION));
    catalogue->addRow(Label(Page::IDC_DESCRIPTION_LABEL), Edit(Page::IDC_DESCRIPTION, Page::kDescriptionLimit));

    std::vector<int> tabOrder{Page::IDC_STORE, Page::IDC_REFRESH, Page::IDC_DOC_TYPE, Page::IDC_DESCRIPTION};
    QGroupBox* file = FileGroup<Page>([&model] { model.OnCloseupFormat(); }, tabOrder);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(catalogue);
    layout->addWidget(file);
    layout->addStretch(1);
    ChainTabOrder(tabOrder);

    InitDialog();
}

void COutputDeviceSettingsDocStoreGenPropPageView::AfterShow()
{
    for (const int id : {Page::IDC_STORE, Page::IDC_DOC_TYPE}) {
        auto* list = findChild<CComboBoxClr*>(QString::number(id));
        if (!list)
            continue;
        for (int i = 0; i < list->count(); ++i)
            list->setItemData(i, static_cast<uint>(m_page.GetItemData(id, i)), Qt::UserRole);
        list->update();
    }
}
