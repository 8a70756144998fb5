#pragma once
// "Output": the choice of an Output element's device. "Default" takes the
// document's default device (whose name the dialog edits); "Select" takes a
// device of the master list shared by all documents, where the user also
// adds and deletes devices. Names, types, added and deleted devices and
// settings change at once, not on OK, so Cancel keeps them.
//
// This is the dialog without its widgets (the control state by id, the
// members and the handlers); COutputDeviceDialogView shows it. The manager
// and every device are borrowed: the master list owns its devices, the
// manager its default device.

#include "platform/framework/Types.h"
#include "platform/ui/DialogModel.h"

#include <QString>

#include <functional>
#include <vector>

class COutputDevice;
class COutputDeviceManager;
class QWidget;

inline constexpr UINT IDS_DELETE_DEVICE_QUESTION = 245;
inline constexpr UINT IDS_DEVICE_IN_USE = 331;

class COutputDeviceDialog : public CDialogModel
{
public:
    enum {
        IDD = 155
    };

    enum ControlId : int {
        IDC_OK = 1,
        IDC_CANCEL = 2,
        IDC_ADD = 1326,
        IDC_SETTINGS = 1327,
        IDC_DEL = 1328,
        IDC_DEFAULT_NAME = 1329,
        IDC_NAME = 1330,
        IDC_MODE_DEFAULT = 1331,
        IDC_MODE_SELECT = 1332,
        IDC_TYPE = 1333,
    };

    // The modes of the radio buttons.
    enum : int {
        ModeDefault = 0,
        ModeSelect = 1,
    };

    // What both name fields take: host device names.
    static constexpr int kNameLimit = 10;
    static QString RefusedChars();
    static QString RefusedFirstChars();

    COutputDeviceDialog();

    // Set before the dialog opens.
    void SetManager(COutputDeviceManager* deviceManager) { manager = deviceManager; }
    void SetSelectedDevice(COutputDevice* device) { selectedDevice = device; }

    // The window now exists.
    BOOL OnInitDialog();
    bool IsWindowCreated() const { return m_windowCreated; }

    // The user's actions; the view has read its widgets first.
    void OnModeDefault();
    void OnModeSelect();
    void OnNameSelChange();
    void OnDefaultNameKillFocus();
    void OnTypeSelChange();
    void OnAdd();
    void OnDel();
    // parent: the dialog's window, for the settings window.
    void OnSettings(QWidget* parent);
    // True when the dialog ends with OK; false keeps it open (a value failed
    // its check).
    bool OnOK();

    // After OK: the selected device in "Select" mode, else the default
    // device.
    COutputDevice* GetChosenDevice() const;

    // The name box's devices in list order (sorted by name).
    const std::vector<COutputDevice*>& ListedDevices() const { return m_listed; }
    // The type of each row of the type list, in list order.
    const std::vector<int>& TypeRows() const { return m_typeRows; }

    // Called after the members were pushed into the controls.
    void SetControlsPushedHandler(std::function<void()> handler) { m_controlsPushed = std::move(handler); }

    QString selectedName;
    QString defaultName;
    int mode = -1;
    COutputDeviceManager* manager = nullptr;
    COutputDevice* selectedDevice = nullptr;
    COutputDevice* defaultDevice = nullptr;

private:
    void FillDeviceNames();
    void ShowSelection();
    void EnableModeControls();
    // The type of the selected row, 0 without one.
    int ChosenType() const;
    void SelectTypeRow(int type);
    // Finds or makes the master device of the name box with the chosen type
    // and the selected device as model; null when none results.
    COutputDevice* CreateNamedMasterDevice();
    void ApplyDefaultName();
    void PushControls();
    bool PullControls();

    std::vector<COutputDevice*> m_listed;
    std::vector<int> m_typeRows;
    // The entry of the name box that is selected, -1 none; its text may
    // have been typed over since.
    int m_nameIndex = -1;
    int m_typeIndex = -1;
    bool m_windowCreated = false;
    std::function<void()> m_controlsPushed;
};
