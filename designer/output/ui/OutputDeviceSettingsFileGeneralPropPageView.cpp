#include "designer/output/ui/OutputDeviceSettingsFileGeneralPropPageView.h"

#include "designer/output/ui/OutputDeviceFileGroupView.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

using Page = COutputDeviceSettingsFileGenPropPage;

} // namespace

COutputDeviceSettingsFileGenPropPageView::COutputDeviceSettingsFileGenPropPageView(Page& model, QWidget* parent)
    : COutputDevicePropPageView(model, parent)
{
    std::vector<int> tabOrder;
    QGroupBox* file = FileGroup<Page>([&model] { model.OnFormatCloseUp(); }, tabOrder);

    auto* name = new QFormLayout;
    name->addRow(Label(Page::IDC_NAME), StaticText(Page::IDC_NAME));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(file);
    layout->addLayout(name);
    layout->addStretch(1);
    ChainTabOrder(tabOrder);

    InitDialog();
}
