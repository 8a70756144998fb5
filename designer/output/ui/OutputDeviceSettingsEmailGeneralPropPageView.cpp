#include "designer/output/ui/OutputDeviceSettingsEmailGeneralPropPageView.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

using Page = COutputDeviceSettingsEmailGenPropPage;

} // namespace

COutputDeviceSettingsEmailGenPropPageView::COutputDeviceSettingsEmailGenPropPageView(Page& model, QWidget* parent)
    : COutputDevicePropPageView(model, parent)
{
    auto* queue = new QFormLayout;
    queue->addRow(Label(Page::IDC_SPOOLED_FILE_STATUS), DropList(Page::IDC_SPOOLED_FILE_STATUS));
    queue->addRow(Label(Page::IDC_ROTATION), DropList(Page::IDC_ROTATION));
    queue->addRow(Label(Page::IDC_PRIORITY), DropList(Page::IDC_PRIORITY));
    queue->addRow(Label(Page::IDC_PUBLIC_AUTHORITY), DropList(Page::IDC_PUBLIC_AUTHORITY));

    QGroupBox* attachment = Group(Page::IDC_ATTACHMENT_GROUP);
    auto* group = new QFormLayout(attachment);
    group->addRow(Label(Page::IDC_ATTACHMENT_NAME), Edit(Page::IDC_ATTACHMENT_NAME, Page::kAttachmentNameLimit));
    group->addRow(Label(Page::IDC_ATTACHMENT_FORMAT),
                  DropListWithCloseUp(Page::IDC_ATTACHMENT_FORMAT, [&model] { model.OnFormatCloseUp(); }));
    group->addRow(Label(Page::IDC_ATTACHMENT_EXTENSION), Edit(Page::IDC_ATTACHMENT_EXTENSION, Page::kExtensionLimit));
    group->addRow(Label(Page::IDC_ATTACHMENT_CCSID), Edit(Page::IDC_ATTACHMENT_CCSID, Page::kCcsidLimit));

    auto* rest = new QFormLayout;
    rest->addRow(Label(Page::IDC_START_LINE), NumberEdit(Page::IDC_START_LINE, Page::kStartLineLimit));
    rest->addRow(Label(Page::IDC_NAME), StaticText(Page::IDC_NAME));

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(queue);
    layout->addWidget(attachment);
    layout->addLayout(rest);
    layout->addStretch(1);
    ChainTabOrder({Page::IDC_SPOOLED_FILE_STATUS, Page::IDC_ROTATION, Page::IDC_PRIORITY, Page::IDC_PUBLIC_AUTHORITY,
                   Page::IDC_ATTACHMENT_NAME, Page::IDC_ATTACHMENT_FORMAT, Page::IDC_ATTACHMENT_EXTENSION,
                   Page::IDC_ATTACHMENT_CCSID, Page::IDC_START_LINE});

    InitDialog();
}
