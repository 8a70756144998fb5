#pragma once
// The "General" page of the file sheet: the file that receives the output,
// its format and code page, owner and authorities. Path, name, owner,
// authorization list and public authority may come from the spooled file:
// while an Output element using the device has an Address child for one of
// them, the page shows the child's position text, and a position text
// entered moves the children. The public-authority list cannot show a
// position, so it is disabled while its child exists.

#include "designer/output/ui/OutputDevicePropPage.h"

class COutputDeviceSettingsFileGenPropPage : public COutputDevicePropPage
{
public:
    enum {
        IDD = 148
    };
    enum ControlId : int {
        IDC_FILE_CCSID = 1239,
        IDC_FILE_OWNER = 1240,
        IDC_FILE_AUTHORIZATION_LIST = 1241,
        IDC_FILE_EXTENSION = 1242,
        IDC_FILE_FORMAT = 1243,
        IDC_FILE_NAME = 1245,
        IDC_FILE_PATH = 1266,
        IDC_NAME = 1276,
        IDC_FILE_PUBLIC_AUTHORITY = 1297,
        // The group box has no id of its own in the dialog; this names its
        // caption.
        IDC_FILE_GROUP = 0xFF01,
    };

    static constexpr int kFileType = 6;
    static constexpr int kPathLimit = 256;
    static constexpr int kFileNameLimit = 64;
    static constexpr int kExtensionLimit = 3;
    static constexpr int kCcsidLimit = 11;
    static constexpr int kOwnerLimit = 20;
    static constexpr int kNameLimit = 10;

    COutputDeviceSettingsFileGenPropPage();

    void EnableControls() override;
    // The format list closed: the extension follows the format.
    void OnFormatCloseUp();

    QString filePath;
    QString fileName;
    QString fileFormat;
    QString fileExtension;
    QString fileCcsid;
    QString fileOwner;
    QString fileAuthorizationList;
    QString filePublicAuthority;
    QString name;

protected:
    void ReadDevice(COutputDevice& source) override;
    BOOL WriteDevice(COutputDevice& target) override;

private:
    bool m_publicAuthorityEnabled = true;
};
