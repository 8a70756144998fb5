#include "designer/output/ui/OutputDeviceSettingsFileGeneralPropPage.h"

#include "designer/output/OutputDevice.h"

COutputDeviceSettingsFileGenPropPage::COutputDeviceSettingsFileGenPropPage() : COutputDevicePropPage(IDD, {kFileType})
{
    for (const int id : {IDC_FILE_FORMAT, IDC_FILE_PUBLIC_AUTHORITY})
        Control(id).items = GetListItems(id);

    BindText(IDC_FILE_PATH, &filePath, kPathLimit);
    BindText(IDC_FILE_NAME, &fileName, kFileNameLimit);
    BindListText(IDC_FILE_FORMAT, &fileFormat);
    BindText(IDC_FILE_EXTENSION, &fileExtension, kExtensionLimit);
    BindText(IDC_FILE_CCSID, &fileCcsid, kCcsidLimit);
    BindText(IDC_FILE_OWNER, &fileOwner, kOwnerLimit);
    BindText(IDC_FILE_AUTHORIZATION_LIST, &fileAuthorizationList, kOwnerLimit);
    BindListText(IDC_FILE_PUBLIC_AUTHORITY, &filePublicAuthority);
    BindText(IDC_NAME, &name, kNameLimit);
}

void COutputDeviceSettingsFileGenPropPage::ReadDevice(COutputDevice& source)
{
    // The bound getters give a child's position text where there is one.
    name = source.GetName();
    source.GetFilePath(filePath);
    source.GetFileName(fileName);
    fileFormat = source.GetFileFormat();
    fileExtension = source.GetFileExtension();
    fileCcsid = source.GetFileCcsid();
    source.GetFileOwner(fileOwner);
    source.GetFileAuthorizationList(fileAuthorizationList);
    source.GetFilePublicAuthority(filePublicAuthority);
    m_publicAuthorityEnabled = !source.HasAddress(AddressFieldCode::FilePublicAuthority);
}

BOOL COutputDeviceSettingsFileGenPropPage::WriteDevice(COutputDevice& target)
{
    return AnyChanged({
        target.SetName(name),
        target.SetFilePath(filePath),
        target.SetFileName(fileName),
        target.SetFileExtension(fileExtension),
        target.SetFileFormat(fileFormat),
        target.SetFileCcsid(fileCcsid),
        target.SetFileOwner(fileOwner),
        target.SetFileAuthorizationList(fileAuthorizationList),
        target.SetFilePublicAuthority(filePublicAuthority),
    });
}

void COutputDeviceSettingsFileGenPropPage::EnableControls()
{
    EnableControl(IDC_FILE_PUBLIC_AUTHORITY, m_publicAuthorityEnabled);
}

void COutputDeviceSettingsFileGenPropPage::OnFormatCloseUp()
{
    FollowFormat(fileFormat, fileExtension);
}
