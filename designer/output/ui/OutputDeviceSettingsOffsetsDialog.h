#pragma once
// "Printer Offsets" (dialog 152) without its widgets: the eight printer
// offsets of an *HPT device and the presets of the shared presets file. The
// presets are read when the dialog is made and written when it goes (only
// when "&Add" or "&Del" changed them), whether it ended with OK or Cancel;
// only OK stores the offsets into the device, which the dialog does not own.
// COutputDeviceSettingsOffsetsDialogView puts it on the screen.

#include "designer/output/OutputDeviceOffsetsPresetList.h"
#include "platform/ui/DialogModel.h"

#include <array>
#include <vector>

class COutputDevice;

class COutputDeviceSettingsOffsetsDialog : public CDialogModel
{
public:
    using Offsets = COutputDeviceOffsetsPreset::Offsets;

    enum {
        IDD = 152
    };
    enum ControlId {
        IDC_LANDSCAPE_IMAGE_RIGHT = 1270,
        IDC_LANDSCAPE_IMAGE_UP = 1271,
        IDC_LANDSCAPE_TEXT_RIGHT = 1274,
        IDC_LANDSCAPE_TEXT_DOWN = 1275,
        IDC_PORTRAIT_IMAGE_RIGHT = 1291,
        IDC_PORTRAIT_IMAGE_DOWN = 1292,
        IDC_PORTRAIT_TEXT_RIGHT = 1301,
        IDC_PORTRAIT_TEXT_DOWN = 1302,
        IDC_PRESET = 1322,
        IDC_ADD = 1323,
        IDC_DEL = 1324,
        // The two groups' frames, for their captions.
        IDC_PORTRAIT_GROUP = 1330,
        IDC_LANDSCAPE_GROUP = 1331,
    };
    static constexpr int kMinimumOffset = 0;
    static constexpr int kMaximumOffset = 99999;
    // The edit of each offset, in the order of the presets and the device.
    static constexpr std::array<int, COutputDeviceOffsetsPreset::kOffsetCount> kOffsetControls = {
        IDC_PORTRAIT_IMAGE_RIGHT, IDC_PORTRAIT_IMAGE_DOWN, IDC_LANDSCAPE_IMAGE_RIGHT, IDC_LANDSCAPE_IMAGE_UP,
        IDC_PORTRAIT_TEXT_RIGHT,  IDC_PORTRAIT_TEXT_DOWN,  IDC_LANDSCAPE_TEXT_RIGHT,  IDC_LANDSCAPE_TEXT_DOWN,
    };

    // Reads the presets file.
    COutputDeviceSettingsOffsetsDialog();
    // Writes the presets file when the list changed.
    ~COutputDeviceSettingsOffsetsDialog() override;

    // Takes a device other than the current one; once the dialog is up its
    // values are loaded at once.
    void SetDevice(COutputDevice* device);
    COutputDevice* GetDevice() const { return m_device; }

    // The window is up: the presets into the list, the device into the edits.
    BOOL OnInitDialog();
    // The offsets into the device; false (the dialog stays) when a value
    // fails its check.
    bool OnOK();

    // The device's offsets into the edits, with the preset that has the same
    // values selected.
    void LoadFromDevice();
    // The edits into the device; FALSE without a device, when a value fails
    // its check or when nothing changed.
    BOOL SaveToDevice();

    // The buttons and the preset box. Each returns false when a value failed
    // its check, and FailedControl() names it.
    bool OnAdd();
    bool OnDel();
    // The user confirmed an entry of the list.
    void OnPresetSelected();
    bool OnPresetKillFocus();

    // The list's entries: every preset's name, sorted, none selected.
    void FillPresetList();
    const COutputDeviceOffsetsPreset* FindPresetByValues(const Offsets& offsets) const;
    const COutputDeviceOffsetsPreset* FindPresetByName(const QString& name) const;
    // Selects the entry of the preset and loads it; FALSE when not listed.
    BOOL SelectPreset(const COutputDeviceOffsetsPreset* preset);
    // The selected entry's name and offsets into the members (all offsets 0
    // without a selection) and into the controls.
    void LoadSelectedPreset();

    const Offsets& GetOffsets() const { return m_offsets; }
    const QString& GetPresetName() const { return m_presetName; }
    const COutputDeviceOffsetsPresetList& GetPresetList() const { return m_presetList; }
    // The preset an entry of the list stands for (its item data), or null.
    const COutputDeviceOffsetsPreset* PresetOfEntry(int index) const;

private:
    Offsets m_offsets{};
    QString m_presetName;
    COutputDeviceOffsetsPresetList m_presetList;
    std::vector<const COutputDeviceOffsetsPreset*> m_entryPresets; // parallel to the list's entries
    COutputDevice* m_device = nullptr;
    bool m_windowExists = false;
};
