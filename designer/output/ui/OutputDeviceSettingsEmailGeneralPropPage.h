#pragma once
// The "General" page of the e-mail sheet: how the mail's spooled file is
// queued, and the attachment that carries the output. The attachment's
// name may come from the spooled file: while an Output element using the
// device has an "Attachment Name" Address child, the page shows the child's
// position text, and a position text entered moves the children.

#include "designer/output/ui/OutputDevicePropPage.h"

class COutputDeviceSettingsEmailGenPropPage : public COutputDevicePropPage
{
public:
    enum {
        IDD = 140
    };
    enum ControlId : int {
        IDC_ATTACHMENT_CCSID = 1208,
        IDC_ATTACHMENT_EXTENSION = 1209,
        IDC_ATTACHMENT_FORMAT = 1210,
        IDC_ATTACHMENT_NAME = 1211,
        IDC_SPOOLED_FILE_STATUS = 1230,
        IDC_NAME = 1276,
        IDC_PUBLIC_AUTHORITY = 1284,
        IDC_ROTATION = 1296,
        IDC_START_LINE = 1298,
        IDC_PRIORITY = 1299,
        // The group box has no id of its own in the dialog; this names its
        // caption.
        IDC_ATTACHMENT_GROUP = 0xFF01,
    };

    static constexpr int kEmailType = 4;
    static constexpr int kAttachmentNameLimit = 64;
    static constexpr int kExtensionLimit = 3;
    static constexpr int kCcsidLimit = 11;
    static constexpr int kStartLineLimit = 3;
    static constexpr int kNameLimit = 10;

    COutputDeviceSettingsEmailGenPropPage();

    void EnableControls() override {}
    // The format list closed: the extension follows the format.
    void OnFormatCloseUp();

    QString spooledFileStatus;
    QString rotation;
    int priorityIndex = -1;
    int publicAuthorityIndex = -1;
    QString attachmentName;
    QString attachmentFormat;
    QString attachmentExtension;
    QString attachmentCcsid;
    QString startLine;
    QString name;

protected:
    void ReadDevice(COutputDevice& source) override;
    BOOL WriteDevice(COutputDevice& target) override;
};
