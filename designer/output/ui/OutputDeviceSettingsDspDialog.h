#pragma once
// "Output Device Settings - (*DSP)": the settings of a display device, which
// has no settings sheet. The dialog edits a working copy of the document's
// device and writes it back into that device only when the user presses OK,
// so Cancel, or a value that fails its check, leaves the document as it was.
// This is the dialog without its widgets (the control state by id, the
// members and the handlers); OutputDeviceSettingsDspDialogView shows it.
// The device is the document's and is never owned.

#include "designer/output/OutputDevice.h"
#include "platform/framework/Types.h"
#include "platform/ui/DialogModel.h"

#include <QString>
#include <QStringList>

#include <functional>

class QObject;

class COutputDeviceSettingsDspDialog : public CDialogModel
{
public:
    enum {
        IDD = 137
    };

    // Control ids; the buttons carry the framework's.
    enum ControlId : int {
        IDC_OK = 1,
        IDC_CANCEL = 2,
        IDC_HELP = 9,
        IDC_DOCUMENT = 1225,
        IDC_FOLDER = 1227,
        IDC_TARGET_ADDRESS = 1269,
        IDC_NAME = 1276,
        IDC_PC_PATH = 1285,
        IDC_FONT_GROUP = 1287,
        IDC_PORT = 1294,
        IDC_ROTATION = 1296,
    };

    // The width the device keeps for the document name, so nothing typed is
    // cut away on saving.
    static constexpr int kDocumentLimit = 10;
    static constexpr int kFolderLimit = 63;
    static constexpr int kTargetAddressLimit = 122;
    static constexpr int kPcPathLimit = 64;
    static constexpr int kFontGroupLimit = 8;
    static constexpr int kPortMin = 0;
    static constexpr int kPortMax = 9999;

    // The help topic of the dialog, as the framework numbers a dialog's.
    static constexpr DWORD kHelpContext = 0x20000u + IDD;

    // The device only for the display type.
    static constexpr int kDeviceType = 5;

    COutputDeviceSettingsDspDialog();

    // Takes a non-null display device other than the current one: copies it
    // into the working copy and, once the window exists, shows it at once.
    // Returns whether the device was taken.
    BOOL SetDevice(COutputDevice* device);
    COutputDevice* GetDevice() const { return m_device; }
    const COutputDevice& GetDeviceCopy() const { return m_deviceCopy; }

    // The window now exists: fills the controls from the working copy.
    BOOL OnInitDialog();
    bool IsWindowCreated() const { return m_windowCreated; }

    // Working copy to members to controls.
    void LoadFromDevice();
    // Controls to members (with their checks) to the working copy, through
    // every setter in turn; TRUE when any of them changed the copy. FALSE
    // and nothing stored when a value failed its check.
    BOOL SaveToDevice();

    // True when the dialog ends with OK: the values passed their checks, were
    // stored and the copy was written into the document's device. False
    // keeps the dialog open with the device untouched; FailedControl() then
    // names the control to focus.
    bool OnOK();

    // Asks for the help on output device settings; window is the dialog.
    void OnHelp(QObject* window = nullptr);

    // Called after the members were pushed into the controls, so a view can
    // show them.
    void SetControlsPushedHandler(std::function<void()> handler) { m_controlsPushed = std::move(handler); }

    // The rotation list's texts, in list order: codes 0, 1 and the rest.
    static QStringList RotationTexts();

    QString documentName;
    QString folder;
    QString targetAddress;
    QString pcPath;
    int port = 0;
    QString rotationText;
    QString fontGroupText;

private:
    void PushControls();
    bool PullControls();

    COutputDevice* m_device = nullptr;
    COutputDevice m_deviceCopy;
    int m_rotationIndex = -1;
    bool m_windowCreated = false;
    std::function<void()> m_controlsPushed;
};
