#include "designer/output/ui/OutputDeviceSettingsOffsetsDialog.h"

#include "designer/output/OutputDevice.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"

#include <algorithm>

namespace {

// The order the edits are checked in, the dialog's own.
constexpr int kCheckOrder[] = {
    COutputDeviceSettingsOffsetsDialog::IDC_PORTRAIT_TEXT_DOWN,
    COutputDeviceSettingsOffsetsDialog::IDC_PORTRAIT_TEXT_RIGHT,
    COutputDeviceSettingsOffsetsDialog::IDC_PORTRAIT_IMAGE_DOWN,
    COutputDeviceSettingsOffsetsDialog::IDC_PORTRAIT_IMAGE_RIGHT,
    COutputDeviceSettingsOffsetsDialog::IDC_LANDSCAPE_TEXT_DOWN,
    COutputDeviceSettingsOffsetsDialog::IDC_LANDSCAPE_TEXT_RIGHT,
    COutputDeviceSettingsOffsetsDialog::IDC_LANDSCAPE_IMAGE_UP,
    COutputDeviceSettingsOffsetsDialog::IDC_LANDSCAPE_IMAGE_RIGHT,
};

// The list box sorts as people read: case aside, then by case so that the
// order is the same every time.
bool ListsBefore(const QString& a, const QString& b)
{
    const int folded = a.compare(b, Qt::CaseInsensitive);
    return folded != 0 ? folded < 0 : a < b;
}

} // namespace

COutputDeviceSettingsOffsetsDialog::COutputDeviceSettingsOffsetsDialog()
{
    for (const int id : kCheckOrder) {
        const auto slot = std::find(kOffsetControls.begin(), kOffsetControls.end(), id) - kOffsetControls.begin();
        BindInt(id, &m_offsets[static_cast<size_t>(slot)], kMinimumOffset, kMaximumOffset);
    }
    BindText(IDC_PRESET, &m_presetName);
    m_presetList.Load();
}

COutputDeviceSettingsOffsetsDialog::~COutputDeviceSettingsOffsetsDialog()
{
    m_presetList.Store();
}

void COutputDeviceSettingsOffsetsDialog::SetDevice(COutputDevice* device)
{
    if (device == nullptr || device == m_device)
        return;
    m_device = device;
    if (m_windowExists)
        LoadFromDevice();
}

BOOL COutputDeviceSettingsOffsetsDialog::OnInitDialog()
{
    m_windowExists = true;
    FillPresetList();
    LoadFromDevice();
    return TRUE;
}

bool COutputDeviceSettingsOffsetsDialog::OnOK()
{
    if (m_device == nullptr)
        return Pull();
    // SaveToDevice has checked every value; checking again would only
    // repeat its message.
    SaveToDevice();
    return FailedControl() == 0;
}

void COutputDeviceSettingsOffsetsDialog::LoadFromDevice()
{
    if (m_device == nullptr)
        return;
    m_offsets = COutputDeviceOffsetsPreset::OffsetsOf(*m_device);
    if (const COutputDeviceOffsetsPreset* preset = FindPresetByValues(m_offsets))
        SelectPreset(preset);
    Push();
}

BOOL COutputDeviceSettingsOffsetsDialog::SaveToDevice()
{
    if (m_device == nullptr || !Pull())
        return FALSE;
    return COutputDeviceOffsetsPreset::StoreOffsets(*m_device, m_offsets);
}

bool COutputDeviceSettingsOffsetsDialog::OnAdd()
{
    // A preset is saved with the values the edits show, or not at all.
    if (!Pull())
        return false;
    const COutputDeviceOffsetsPreset* added = nullptr;
    if (m_presetList.Add(m_presetName, m_offsets, &added) == COutputDeviceOffsetsPresetList::AddResult::ReadOnlyName) {
        Prompts().MessageBox(FormatResMessage(IDS_OFFSETS_PRESET_NOT_MODIFIABLE), {}, MB_OK);
        return true;
    }
    FillPresetList();
    SelectPreset(added);
    return true;
}

bool COutputDeviceSettingsOffsetsDialog::OnDel()
{
    // Deleting needs only the selection: it goes on after a failed check.
    const bool checked = Pull();
    const COutputDeviceOffsetsPreset* preset = PresetOfEntry(Control(IDC_PRESET).selection);
    if (preset == nullptr)
        return checked;
    if (preset->IsReadOnly()) {
        Prompts().MessageBox(FormatResMessage(IDS_OFFSETS_PRESET_NOT_DELETABLE), {}, MB_OK);
        return checked;
    }
    m_presetList.Remove(preset);
    FillPresetList();
    return checked;
}

void COutputDeviceSettingsOffsetsDialog::OnPresetSelected()
{
    LoadSelectedPreset();
}

bool COutputDeviceSettingsOffsetsDialog::OnPresetKillFocus()
{
    // After a failed check the name was not read: the focus goes to the
    // value that failed, and no preset overwrites what the user typed.
    if (!Pull())
        return false;
    if (const COutputDeviceOffsetsPreset* preset = FindPresetByName(m_presetName))
        SelectPreset(preset);
    return true;
}

void COutputDeviceSettingsOffsetsDialog::FillPresetList()
{
    m_entryPresets = m_presetList.Presets();
    std::stable_sort(m_entryPresets.begin(), m_entryPresets.end(),
                     [](const COutputDeviceOffsetsPreset* a, const COutputDeviceOffsetsPreset* b) {
                         return ListsBefore(a->GetName(), b->GetName());
                     });
    DialogControlState& list = Control(IDC_PRESET);
    list.items.clear();
    for (const COutputDeviceOffsetsPreset* preset : m_entryPresets)
        list.items << preset->GetName();
    list.selection = -1;
    list.text.clear();
}

const COutputDeviceOffsetsPreset* COutputDeviceSettingsOffsetsDialog::FindPresetByValues(const Offsets& offsets) const
{
    return m_presetList.FindByValues(offsets);
}

const COutputDeviceOffsetsPreset* COutputDeviceSettingsOffsetsDialog::FindPresetByName(const QString& name) const
{
    return m_presetList.FindByName(name);
}

BOOL COutputDeviceSettingsOffsetsDialog::SelectPreset(const COutputDeviceOffsetsPreset* preset)
{
    const auto it = std::find(m_entryPresets.begin(), m_entryPresets.end(), preset);
    if (preset == nullptr || it == m_entryPresets.end())
        return FALSE;
    Control(IDC_PRESET).selection = static_cast<int>(it - m_entryPresets.begin());
    LoadSelectedPreset();
    return TRUE;
}

void COutputDeviceSettingsOffsetsDialog::LoadSelectedPreset()
{
    if (const COutputDeviceOffsetsPreset* preset = PresetOfEntry(Control(IDC_PRESET).selection)) {
        m_presetName = preset->GetName();
        m_offsets = preset->GetOffsets();
    } else {
        m_offsets.fill(0);
    }
    Push();
}

const COutputDeviceOffsetsPreset* COutputDeviceSettingsOffsetsDialog::PresetOfEntry(int index) const
{
    if (index < 0 || index >= static_cast<int>(m_entryPresets.size()))
        return nullptr;
    return m_entryPresets[static_cast<size_t>(index)];
}
