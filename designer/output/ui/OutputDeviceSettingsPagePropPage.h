#pragma once
// The "Page" page that ends every device settings sheet: how the start of a
// new output document is recognised in the spooled file, by a comparison
// text (optionally at a position) or by a position alone, "Equal To" or
// "Not Equal To". The file and document-store pages add the line printing
// starts on; the fax, e-mail and file pages the logo and signature of the
// cover page. One model serves all five; the classes below only name their
// dialog, device types and extras.
//
// Column, line and width go through the device's first-page getters and
// setters, which follow a "First Page" Address child of an Output element
// using the device when there is one.

#include "designer/output/ui/OutputDevicePropPage.h"

class COutputDeviceSettingsPagePropPage : public COutputDevicePropPage
{
public:
    enum ControlId : int {
        IDC_LINE = 1277,
        IDC_LINE_SPIN = 1278,
        IDC_COLUMN = 1279,
        IDC_COLUMN_SPIN = 1280,
        IDC_WIDTH = 1281,
        IDC_WIDTH_SPIN = 1282,
        IDC_OPERATOR = 1283,
        IDC_LOGO = 1272,
        IDC_START_LINE = 1298,
        IDC_SIGNATURE = 1306,
        IDC_COMPARE_TEXT = 1310,
        IDC_COMPARE_POSITION = 1311,
        IDC_COMPARE_DATA_TEXT = 1312,
        IDC_AND_POSITION = 1325,
        // The group boxes have no id of their own in the dialog; these name
        // their captions.
        IDC_FIRST_PAGE_GROUP = 0xFF01,
        IDC_COVER_PAGE_GROUP = 0xFF02,
    };

    enum CompareMode : int {
        CompareNone = -1,
        CompareText = 0,
        ComparePosition = 1,
    };

    static constexpr int kTextLimit = 30;
    static constexpr int kCoverLimit = 10;
    static constexpr int kStartLineLimit = 3;
    static constexpr int kPositionMax = 999;

    bool HasStartLine() const { return m_hasStartLine; }
    bool HasCoverPage() const { return m_hasCoverPage; }

    void EnableControls() override;

    // The three buttons; false when reading the controls failed (reported).
    bool OnCompareDataTextClicked();
    bool OnComparePositionClicked();
    bool OnAndPositionClicked();

    int column = 0;
    int line = 0;
    QString compareText;
    int width = 0;
    int operatorIndex = -1;
    int compareMode = CompareNone;
    int andPosition = 0;
    QString startLineText;
    QString logo;
    QString signature;

protected:
    COutputDeviceSettingsPagePropPage(UINT dialogId, std::initializer_list<int> acceptedTypes, bool hasStartLine,
                                      bool hasCoverPage);

    void ReadDevice(COutputDevice& source) override;
    BOOL WriteDevice(COutputDevice& target) override;
    void BeforePush() override;
    void AfterPull() override;

private:
    bool InTextMode() const { return compareMode != ComparePosition; }

    bool m_hasStartLine;
    bool m_hasCoverPage;
    // The radio buttons' checks, which compareMode stands for.
    int m_compareTextChecked = 0;
    int m_comparePositionChecked = 0;
};

class COutputDeviceSettingsPrintPagePropPage : public COutputDeviceSettingsPagePropPage
{
public:
    enum {
        IDD = 153
    };
    COutputDeviceSettingsPrintPagePropPage() : COutputDeviceSettingsPagePropPage(IDD, {0, 1, 2}, false, false) {}
};

class COutputDeviceSettingsFaxPagePropPage : public COutputDeviceSettingsPagePropPage
{
public:
    enum {
        IDD = 145
    };
    COutputDeviceSettingsFaxPagePropPage() : COutputDeviceSettingsPagePropPage(IDD, {3}, false, true) {}
};

class COutputDeviceSettingsEmailPagePropPage : public COutputDeviceSettingsPagePropPage
{
public:
    enum {
        IDD = 141
    };
    COutputDeviceSettingsEmailPagePropPage() : COutputDeviceSettingsPagePropPage(IDD, {4}, false, true) {}
};

class COutputDeviceSettingsFilePagePropPage : public COutputDeviceSettingsPagePropPage
{
public:
    enum {
        IDD = 149
    };
    COutputDeviceSettingsFilePagePropPage() : COutputDeviceSettingsPagePropPage(IDD, {6}, true, true) {}
};

class COutputDeviceSettingsDocStorePagePropPage : public COutputDeviceSettingsPagePropPage
{
public:
    enum {
        IDD = 176
    };
    COutputDeviceSettingsDocStorePagePropPage() : COutputDeviceSettingsPagePropPage(IDD, {7}, true, false) {}
};
