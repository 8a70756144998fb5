#pragma once
// The "General" page of the fax sheet: how the fax is queued (spooled-file
// status, priority, public authority, transmission mode), the fax form
// merged with it, rotation, font group and the line printing starts on.
// Library and member of the form are given only with a form file other
// than "*NONE"; the page stores and reloads when the form file is left, so
// they follow it at once.

#include "designer/output/ui/OutputDevicePropPage.h"

class COutputDeviceSettingsFaxGenPropPage : public COutputDevicePropPage
{
public:
    enum {
        IDD = 144
    };
    enum ControlId : int {
        IDC_SPOOLED_FILE_STATUS = 1230,
        IDC_FAX_FORM = 1236,
        IDC_FAX_FORM_LIBRARY = 1237,
        IDC_FAX_FORM_MEMBER = 1238,
        IDC_NAME = 1276,
        IDC_PUBLIC_AUTHORITY = 1284,
        IDC_FONT_GROUP = 1287,
        IDC_ROTATION = 1296,
        IDC_START_LINE = 1298,
        IDC_PRIORITY = 1299,
        IDC_TRANSMISSION_MODE = 1316,
    };

    static constexpr int kFontGroupLimit = 8;
    static constexpr int kFormLimit = 10;
    static constexpr int kStartLineLimit = 3;
    static constexpr int kNameLimit = 10;

    COutputDeviceSettingsFaxGenPropPage();

    void EnableControls() override;
    // The form file edit lost the focus. False when reading the controls
    // failed (reported).
    bool OnFaxFormKillFocus();

    QString spooledFileStatus;
    QString rotation;
    QString fontGroup;
    QString faxForm;
    QString faxFormLibrary;
    QString faxFormMember;
    int priorityIndex = -1;
    int publicAuthorityIndex = -1;
    QString transmissionMode;
    QString startLine;
    QString name;

protected:
    void ReadDevice(COutputDevice& source) override;
    BOOL WriteDevice(COutputDevice& target) override;

private:
    bool m_formPartsEnabled = true;
};
