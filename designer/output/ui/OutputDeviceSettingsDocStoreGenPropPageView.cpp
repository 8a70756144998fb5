#include "designer/output/ui/OutputDeviceSettingsDocStoreGenPropPageView.h"

#include "designer/controls/ComboBoxClr.h"

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

    QGroupBox* file = Group(Page::IDC_FILE_GROUP);
    auto* group = new QFormLayout(file);
    group->addRow(Label(Page::IDC_FILE_PATH), Edit(Page::IDC_FILE_PATH, Page::kPathLimit));
    group->addRow(Label(Page::IDC_FILE_NAME), Edit(Page::IDC_FILE_NAME, Page::kFileNameLimit));
    group->addRow(Label(Page::IDC_FILE_FORMAT),
                  DropListWithCloseUp(Page::IDC_FILE_FORMAT, [&model] { model.OnCloseupFormat(); }));
    group->addRow(Label(Page::IDC_FILE_EXTENSION), Edit(Page::IDC_FILE_EXTENSION, Page::kExtensionLimit));
    group->addRow(Label(Page::IDC_FILE_CCSID), Edit(Page::IDC_FILE_CCSID, Page::kCcsidLimit));
    group->addRow(Label(Page::IDC_FILE_OWNER), Edit(Page::IDC_FILE_OWNER, Page::kOwnerLimit));
    group->addRow(Label(Page::IDC_FILE_AUTHORIZATION_LIST), Edit(Page::IDC_FILE_AUTHORIZATION_LIST, Page::kOwnerLimit));
    group->addRow(Label(Page::IDC_FILE_PUBLIC_AUTHORITY), DropList(Page::IDC_FILE_PUBLIC_AUTHORITY));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(catalogue);
    layout->addWidget(file);
    layout->addStretch(1);
    ChainTabOrder({Page::IDC_STORE, Page::IDC_REFRESH, Page::IDC_DOC_TYPE, Page::IDC_DESCRIPTION, Page::IDC_FILE_PATH,
                   Page::IDC_FILE_NAME, Page::IDC_FILE_FORMAT, Page::IDC_FILE_EXTENSION, Page::IDC_FILE_CCSID,
                   Page::IDC_FILE_OWNER, Page::IDC_FILE_AUTHORIZATION_LIST, Page::IDC_FILE_PUBLIC_AUTHORITY});

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
