#include "designer/output/ui/OutputDeviceSettingsEmailGeneralPropPage.h"

#include "designer/output/OutputDevice.h"

COutputDeviceSettingsEmailGenPropPage::COutputDeviceSettingsEmailGenPropPage()
    : COutputDevicePropPage(IDD, {kEmailType})
{
    for (const int id : {IDC_SPOOLED_FILE_STATUS, IDC_PRIORITY, IDC_PUBLIC_AUTHORITY, IDC_ATTACHMENT_FORMAT})
        Control(id).items = GetListItems(id);
    Control(IDC_ROTATION).items = PortraitLandscapeTexts();

    BindListText(IDC_SPOOLED_FILE_STATUS, &spooledFileStatus);
    BindListText(IDC_ROTATION, &rotation);
    BindSelection(IDC_PRIORITY, &priorityIndex);
    BindSelection(IDC_PUBLIC_AUTHORITY, &publicAuthorityIndex);
    BindText(IDC_ATTACHMENT_NAME, &attachmentName, kAttachmentNameLimit);
    BindListText(IDC_ATTACHMENT_FORMAT, &attachmentFormat);
    BindText(IDC_ATTACHMENT_EXTENSION, &attachmentExtension, kExtensionLimit);
    BindText(IDC_ATTACHMENT_CCSID, &attachmentCcsid, kCcsidLimit);
    BindText(IDC_START_LINE, &startLine, kStartLineLimit);
    BindText(IDC_NAME, &name, kNameLimit);
}

void COutputDeviceSettingsEmailGenPropPage::ReadDevice(COutputDevice& source)
{
    name = source.GetName();
    spooledFileStatus = source.GetSpooledFileStatus();
    rotation = PortraitLandscapeText(source.GetRotation());
    priorityIndex = source.GetPriority();
    publicAuthorityIndex = source.GetPublicAuthority() - 1;
    attachmentFormat = source.GetAttachmentFormat();
    startLine = source.GetStartLine() == 0 ? QString() : QString::number(source.GetStartLine());
    // The child's position text while the name comes from the spooled file.
    source.GetAttachmentName(attachmentName);
    attachmentExtension = source.GetAttachmentExtension();
    attachmentCcsid = source.GetAttachmentCcsid();
}

BOOL COutputDeviceSettingsEmailGenPropPage::WriteDevice(COutputDevice& target)
{
    return AnyChanged({
        target.SetName(name),
        target.SetSpooledFileStatus(spooledFileStatus),
        StorePortraitLandscape(target, rotation),
        target.SetPriority(priorityIndex),
        target.SetPublicAuthority(publicAuthorityIndex + 1),
        target.SetAttachmentFormat(attachmentFormat),
        target.SetStartLine(startLine),
        target.SetAttachmentName(attachmentName),
        target.SetAttachmentExtension(attachmentExtension),
        target.SetAttachmentCcsid(attachmentCcsid),
    });
}

void COutputDeviceSettingsEmailGenPropPage::OnFormatCloseUp()
{
    FollowFormat(attachmentFormat, attachmentExtension);
}
