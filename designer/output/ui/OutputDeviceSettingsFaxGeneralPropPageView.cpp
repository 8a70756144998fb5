#include "designer/output/ui/OutputDeviceSettingsFaxGeneralPropPageView.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

using Page = COutputDeviceSettingsFaxGenPropPage;

} // namespace

COutputDeviceSettingsFaxGenPropPageView::COutputDeviceSettingsFaxGenPropPageView(Page& model, QWidget* parent)
    : COutputDevicePropPageView(model, parent)
{
    auto* form = new QFormLayout(this);
    form->addRow(Label(Page::IDC_SPOOLED_FILE_STATUS), DropList(Page::IDC_SPOOLED_FILE_STATUS));
    form->addRow(Label(Page::IDC_ROTATION), DropList(Page::IDC_ROTATION));
    QLineEdit* fontGroup = Edit(Page::IDC_FONT_GROUP, Page::kFontGroupLimit);
    fontGroup->setReadOnly(true);
    form->addRow(Label(Page::IDC_FONT_GROUP), fontGroup);
    QLineEdit* faxForm = UpperEdit(Page::IDC_FAX_FORM, Page::kFormLimit);
    form->addRow(Label(Page::IDC_FAX_FORM), faxForm);
    form->addRow(Label(Page::IDC_FAX_FORM_LIBRARY), UpperEdit(Page::IDC_FAX_FORM_LIBRARY, Page::kFormLimit));
    form->addRow(Label(Page::IDC_FAX_FORM_MEMBER), UpperEdit(Page::IDC_FAX_FORM_MEMBER, Page::kFormLimit));
    form->addRow(Label(Page::IDC_PRIORITY), DropList(Page::IDC_PRIORITY));
    form->addRow(Label(Page::IDC_PUBLIC_AUTHORITY), DropList(Page::IDC_PUBLIC_AUTHORITY));
    form->addRow(Label(Page::IDC_TRANSMISSION_MODE), DropList(Page::IDC_TRANSMISSION_MODE));
    form->addRow(Label(Page::IDC_START_LINE), NumberEdit(Page::IDC_START_LINE, Page::kStartLineLimit));
    form->addRow(Label(Page::IDC_NAME), StaticText(Page::IDC_NAME));

    OnFocusOut(faxForm, [this, &model] { Forward([&model] { return model.OnFaxFormKillFocus(); }); });

    InitDialog();
}
