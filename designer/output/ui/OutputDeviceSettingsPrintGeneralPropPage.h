#pragma once
// The "General" page of the three print sheets: where the spooled file goes
// (output queue and library, or a printer device), form, hold and save,
// drawer and copies, and what only one data stream has (*SCS densities,
// page size and start line; the *AFP PDF flag and printer resource; the
// *HPT no-print border and printer offsets). One model serves the three;
// the classes below only name their dialog, type and controls.
//
// The queue decides what else may be given: "*DEV" and "*USR" take no
// library, "*JOB" neither library nor printer device, a named queue no
// printer device. The page stores and reloads whenever the queue or the
// copies choice changes, so it always shows what the setters kept.

#include "designer/output/ui/OutputDevicePropPage.h"

#include <functional>
#include <vector>

// "Please enter an integer between %1!d! and %2!d!."
inline constexpr UINT IDS_ENTER_INTEGER_BETWEEN = 309;

class COutputDeviceSettingsPrintGenPropPage : public COutputDevicePropPage
{
public:
    enum ControlId : int {
        IDC_PDF_DATASTREAM = 1212,
        IDC_COPIES = 1214,
        IDC_COPIES_NUMBER = 1215,
        IDC_COPIES_FROM_SPOOLED_FILE = 1216,
        IDC_CPI = 1217,
        IDC_DRAWER = 1231,
        IDC_HPT_DUPLEX = 1232,
        IDC_AFP_DUPLEX = 1233,
        IDC_OFFSETS = 1244,
        IDC_LPI = 1273,
        IDC_NAME = 1276,
        IDC_PRINTER_DEVICE = 1286,
        IDC_FONT_GROUP = 1287,
        IDC_FORM = 1288,
        IDC_PAGE_HEIGHT = 1289,
        IDC_HOLD = 1290,
        IDC_PAGE_WIDTH = 1291,
        IDC_NO_PRINT_BORDER = 1293,
        IDC_ROTATION = 1296,
        IDC_PRINTER_RESOURCE = 1297,
        IDC_START_LINE = 1298,
        IDC_SAVE = 1300,
        IDC_USER_DATA = 1303,
        IDC_SCS_ROTATION = 1305,
        IDC_LIBRARY = 1320,
        IDC_OUTPUT_QUEUE = 1321,
        // The caption beside "..." has no id of its own in the dialog.
        IDC_OFFSETS_LABEL = 0xFF01,
    };

    enum CopiesSource : int {
        CopiesNone = -1,
        CopiesNumber = 0,
        CopiesFromSpooledFile = 1,
    };

    enum Kind : int {
        Scs = 0,
        Afp = 1,
        Hpt = 2,
    };

    static constexpr int kNameLimit = 10;
    static constexpr int kDrawerLimit = 5;
    static constexpr int kSizeLimit = 3;
    static constexpr int kFontGroupLimit = 8;
    static constexpr int kMinCopies = 1;
    static constexpr int kMaxCopies = 255;

    // Called with the device, or null, when "..." is pressed.
    using OffsetsRunner = std::function<void(COutputDevice*)>;

    Kind GetKind() const { return m_kind; }
    int DuplexControl() const { return m_kind == Hpt ? IDC_HPT_DUPLEX : IDC_AFP_DUPLEX; }
    int RotationControl() const { return m_kind == Scs ? IDC_SCS_ROTATION : IDC_ROTATION; }
    // The controls in the order Tab goes through them (the name, a static
    // text, where the dialog has it).
    const std::vector<int>& TabOrder() const { return m_tabOrder; }

    void EnableControls() override;

    // The output-queue box lost the focus to focusedControl: store and
    // reload; true when the focus belongs on the library edit instead (a
    // Tab passed over it while the old queue kept it disabled).
    bool OnOutputQueueKillFocus(int focusedControl);
    // An entry of the output-queue list was chosen. False when reading the
    // controls failed (reported).
    bool OnOutputQueueSelected(const QString& entry);
    // Either copies radio button was clicked.
    bool OnCopiesSourceClicked();
    // The copies edit lost the focus: a number outside 1 to 255 is told and
    // becomes 1.
    // False when reading the controls failed (reported).
    bool OnCopiesKillFocus();
    // "..." (*HPT): the printer offsets dialog on the device; what it stores
    // goes straight into the device and the page is not reloaded.
    void OnOffsets();
    void SetOffsetsRunner(OffsetsRunner runner) { m_runOffsets = std::move(runner); }

    QString printerDevice;
    QString outputQueue;
    QString library;
    QString userData;
    QString formType;
    int hold = 0;
    int save = 0;
    int pdfDataStream = 0;
    QString drawer;
    int copies = 0;
    int copiesSource = CopiesNone;
    QString linesPerInch;
    QString charsPerInch;
    QString pageHeight;
    QString rotation;
    QString startLine;
    QString name;
    QString pageWidth;
    QString fontGroup;
    QString printerResource;
    QString noPrintBorder;
    QString duplex;

protected:
    COutputDeviceSettingsPrintGenPropPage(UINT dialogId, Kind kind);

    void ReadDevice(COutputDevice& source) override;
    BOOL WriteDevice(COutputDevice& target) override;
    void BeforePush() override;
    void AfterPull() override;

private:
    void BindControl(int id);
    void ApplyQueueRules();

    Kind m_kind;
    std::vector<int> m_tabOrder;
    OffsetsRunner m_runOffsets;
    bool m_libraryEnabled = true;
    bool m_printerDeviceEnabled = true;
    bool m_copiesEnabled = true;
    // The radio buttons' checks, which copiesSource stands for.
    int m_copiesNumberChecked = 0;
    int m_copiesFromSpooledFileChecked = 0;
};

class COutputDeviceSettingsScsGenPropPage : public COutputDeviceSettingsPrintGenPropPage
{
public:
    enum {
        IDD = 154
    };
    COutputDeviceSettingsScsGenPropPage() : COutputDeviceSettingsPrintGenPropPage(IDD, Scs) {}
};

class COutputDeviceSettingsAfpGenPropPage : public COutputDeviceSettingsPrintGenPropPage
{
public:
    enum {
        IDD = 136
    };
    COutputDeviceSettingsAfpGenPropPage() : COutputDeviceSettingsPrintGenPropPage(IDD, Afp) {}
};

class COutputDeviceSettingsHptGenPropPage : public COutputDeviceSettingsPrintGenPropPage
{
public:
    enum {
        IDD = 150
    };
    COutputDeviceSettingsHptGenPropPage() : COutputDeviceSettingsPrintGenPropPage(IDD, Hpt) {}
};
