#include "designer/output/ui/OutputDeviceSettingsAddressPropPageView.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

using Page = COutputDeviceSettingsAddressPropPage;

// Wide enough for a position text and a short name alike.
constexpr int kEditMinimumWidth = 260;

} // namespace

COutputDeviceSettingsAddressPropPageView::COutputDeviceSettingsAddressPropPageView(Page& model, QWidget* parent)
    : COutputDevicePropPageView(model, parent)
{
    auto* form = new QFormLayout(this);
    if (model.HasEnvelope())
        form->addRow(Label(Page::IDC_ENVELOPE), DropList(Page::IDC_ENVELOPE));
    for (const Page::Row& row : model.Rows()) {
        QLineEdit* edit = Edit(row.id, row.limit);
        edit->setMinimumWidth(kEditMinimumWidth);
        form->addRow(Label(row.id), edit);
    }

    InitDialog();
}
