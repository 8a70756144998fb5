#include "designer/output/ui/OutputDeviceSettingsFaxGeneralPropPage.h"

#include "designer/output/OutputDevice.h"

COutputDeviceSettingsFaxGenPropPage::COutputDeviceSettingsFaxGenPropPage()
    : COutputDevicePropPage(IDD, {COutputDevice::kFaxType})
{
    for (const int id : {IDC_SPOOLED_FILE_STATUS, IDC_PRIORITY, IDC_PUBLIC_AUTHORITY, IDC_TRANSMISSION_MODE})
        Control(id).items = GetListItems(id);
    Control(IDC_ROTATION).items = PortraitLandscapeTexts();

    BindListText(IDC_SPOOLED_FILE_STATUS, &spooledFileStatus);
    BindListText(IDC_ROTATION, &rotation);
    BindText(IDC_FONT_GROUP, &fontGroup, kFontGroupLimit);
    BindText(IDC_FAX_FORM, &faxForm, kFormLimit);
    BindText(IDC_FAX_FORM_LIBRARY, &faxFormLibrary, kFormLimit);
    BindText(IDC_FAX_FORM_MEMBER, &faxFormMember, kFormLimit);
    BindSelection(IDC_PRIORITY, &priorityIndex);
    BindSelection(IDC_PUBLIC_AUTHORITY, &publicAuthorityIndex);
    BindListText(IDC_TRANSMISSION_MODE, &transmissionMode);
    BindText(IDC_START_LINE, &startLine, kStartLineLimit);
    BindText(IDC_NAME, &name, kNameLimit);
}

void COutputDeviceSettingsFaxGenPropPage::ReadDevice(COutputDevice& source)
{
    name = source.GetName();
    spooledFileStatus = source.GetSpooledFileStatus();
    rotation = PortraitLandscapeText(source.GetRotation());
    fontGroup = source.GetFontGroup();
    faxForm = source.GetFaxForm();
    m_formPartsEnabled = !faxForm.isEmpty() && faxForm != QLatin1StringView("*NONE");
    faxFormLibrary = m_formPartsEnabled ? source.GetFaxFormLibrary() : QString();
    faxFormMember = m_formPartsEnabled ? source.GetFaxFormMember() : QString();
    priorityIndex = source.GetPriority();
    publicAuthorityIndex = source.GetPublicAuthority() - 1;
    transmissionMode = source.GetTransmissionMode();
    startLine = source.GetStartLine() == 0 ? QString() : QString::number(source.GetStartLine());
}

BOOL COutputDeviceSettingsFaxGenPropPage::WriteDevice(COutputDevice& target)
{
    // The setters keep priority to 0..3 and public authority to 1..3, so
    // a list without a selection stores nothing.
    return AnyChanged({
        target.SetName(name),
        target.SetSpooledFileStatus(spooledFileStatus),
        StorePortraitLandscape(target, rotation),
        target.SetFontGroup(fontGroup),
        target.SetFaxForm(faxForm),
        target.SetFaxFormLibrary(faxFormLibrary),
        target.SetFaxFormMember(faxFormMember),
        target.SetPriority(priorityIndex),
        target.SetPublicAuthority(publicAuthorityIndex + 1),
        target.SetTransmissionMode(transmissionMode),
        target.SetStartLine(startLine),
    });
}

void COutputDeviceSettingsFaxGenPropPage::EnableControls()
{
    EnableControl(IDC_FAX_FORM_LIBRARY, m_formPartsEnabled);
    EnableControl(IDC_FAX_FORM_MEMBER, m_formPartsEnabled);
}

bool COutputDeviceSettingsFaxGenPropPage::OnFaxFormKillFocus()
{
    return StoreAndReload();
}
