#include "designer/output/ui/OutputDeviceSettingsFileGeneralPropPageView.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using Page = COutputDeviceSettingsFileGenPropPage;

} // namespace

COutputDeviceSettingsFileGenPropPageView::COutputDeviceSettingsFileGenPropPageView(Page& model, QWidget* parent)
    : COutputDevicePropPageView(model, parent)
{
    QGroupBox* file = Group(Page::IDC_FILE_GROUP);
    auto* group = new QFormLayout(file);
    group->addRow(Label(Page::IDC_FILE_PATH), Edit(Page::IDC_FILE_PATH, Page::kPathLimit));
    group->addRow(Label(Page::IDC_FILE_NAME), Edit(Page::IDC_FILE_NAME, Page::kFileNameLimit));
    group->addRow(Label(Page::IDC_FILE_FORMAT),
                  DropListWithCloseUp(Page::IDC_FILE_FORMAT, [&model] { model.OnFormatCloseUp(); }));
    group->addRow(Label(Page::IDC_FILE_EXTENSION), Edit(Page::IDC_FILE_EXTENSION, Page::kExtensionLimit));
    group->addRow(Label(Page::IDC_FILE_CCSID), Edit(Page::IDC_FILE_CCSID, Page::kCcsidLimit));
    group->addRow(Label(Page::IDC_FILE_OWNER), Edit(Page::IDC_FILE_OWNER, Page::kOwnerLimit));
    group->addRow(Label(Page::IDC_FILE_AUTHORIZATION_LIST), Edit(Page::IDC_FILE_AUTHORIZATION_LIST, Page::kOwnerLimit));
    group->addRow(Label(Page::IDC_FILE_PUBLIC_AUTHORITY), DropList(Page::IDC_FILE_PUBLIC_AUTHORITY));

    auto* name = new QFormLayout;
    name->addRow(Label(Page::IDC_NAME), StaticText(Page::IDC_NAME));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file);
    layout->addLayout(name);
    layout->addStretch(1);
    ChainTabOrder({Page::IDC_FILE_PATH, Page::IDC_FILE_NAME, Page::IDC_FILE_FORMAT, Page::IDC_FILE_EXTENSION,
                   Page::IDC_FILE_CCSID, Page::IDC_FILE_OWNER, Page::IDC_FILE_AUTHORIZATION_LIST,
                   Page::IDC_FILE_PUBLIC_AUTHORITY});

    InitDialog();
}
