#pragma once
// The destination page of the print, fax and e-mail settings sheets: where
// in the spooled file the destination of each output document is found (by
// a text scanned for, or at a position) and what kind of destination it is;
// for an exit program also the program and its library. The e-mail page adds
// the confirmation asked for. One model serves the three pages; the classes
// below only name their dialog, device types and differences.
//
// Column, line and width go through the device's destination getters and
// setters, which follow a "Destination" Address child of an Output element
// using the device when there is one.

#include "designer/output/ui/OutputDevicePropPage.h"

class COutputDeviceSettingsDestinationPropPage : public COutputDevicePropPage
{
public:
    enum ControlId : int {
        IDC_LINE = 1218,
        IDC_LINE_SPIN = 1219,
        IDC_COLUMN = 1220,
        IDC_COLUMN_SPIN = 1221,
        IDC_WIDTH = 1222,
        IDC_WIDTH_SPIN = 1223,
        IDC_TYPE = 1224,
        IDC_PROGRAM = 1228,
        IDC_LIBRARY = 1229,
        IDC_CONFIRMATION = 1234,
        IDC_TEXT = 1307,
        IDC_POSITION_MODE = 1308,
        IDC_TEXT_MODE = 1309,
        // The group box has no id of its own in the dialog; this names its
        // caption.
        IDC_DESTINATION_GROUP = 0xFF01,
    };

    enum Mode : int {
        ModeNone = -1,
        ModeText = 0,
        ModePosition = 1,
    };

    static constexpr UINT IDS_EXIT_PROGRAM_REQUIRED = 273;
    static constexpr int kPositionMax = 999;
    static constexpr int kProgramLimit = 10;

    int TextLimit() const { return m_textLimit; }
    int WidthMax() const { return m_widthMax; }
    bool HasConfirmation() const { return m_hasConfirmation; }

    void EnableControls() override;
    // An empty program is refused for the type "Exit Program" alone.
    BOOL OnApply() override;

    // The first radio button or another destination type; false when
    // reading the controls failed (reported).
    bool OnChoiceChanged();
    // "Or destination position:": the text is emptied.
    bool OnPositionModeClicked();

    int mode = ModeNone;
    QString text;
    int column = 0;
    int width = 0;
    int line = 0;
    QString type;
    QString program;
    QString library;
    int confirmationIndex = -1;

protected:
    struct Variant
    {
        int textLimit;
        int widthMax;
        // The device field is the scan text rather than the destination text.
        bool scanText;
        // Program and library are emptied and "*LIBL" while disabled.
        bool blanksExitProgram;
        bool hasConfirmation;
    };

    COutputDeviceSettingsDestinationPropPage(UINT dialogId, std::initializer_list<int> acceptedTypes,
                                             const Variant& variant);

    void ReadDevice(COutputDevice& source) override;
    BOOL WriteDevice(COutputDevice& target) override;
    void BeforePush() override;
    void AfterPull() override;

private:
    int m_textLimit;
    int m_widthMax;
    bool m_scanText;
    bool m_blanksExitProgram;
    bool m_hasConfirmation;
    // The radio buttons' checks and the type list's selection, which mode
    // and type stand for.
    int m_textModeChecked = 0;
    int m_positionModeChecked = 0;
    int m_typeIndex = -1;
};

class COutputDeviceSettingsPrintExitProgramPropPage : public COutputDeviceSettingsDestinationPropPage
{
public:
    enum {
        IDD = 151
    };
    COutputDeviceSettingsPrintExitProgramPropPage()
        : COutputDeviceSettingsDestinationPropPage(IDD, {0, 1, 2}, {256, 256, false, false, false})
    {}
};

class COutputDeviceSettingsFaxDestPropPage : public COutputDeviceSettingsDestinationPropPage
{
public:
    enum {
        IDD = 143
    };
    COutputDeviceSettingsFaxDestPropPage()
        : COutputDeviceSettingsDestinationPropPage(IDD, {3}, {25, 20, true, true, false})
    {}
};

class COutputDeviceSettingsEmailDestPropPage : public COutputDeviceSettingsDestinationPropPage
{
public:
    enum {
        IDD = 139
    };
    COutputDeviceSettingsEmailDestPropPage()
        : COutputDeviceSettingsDestinationPropPage(IDD, {4}, {256, 256, false, false, true})
    {}
};
