#include "designer/output/ui/OutputDeviceDialog.h"

#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/output/OutputDeviceTypeTable.h"
#include "platform/framework/Collections.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <algorithm>

QString COutputDeviceDialog::RefusedChars()
{
    return QStringLiteral(" \"'-");
}

QString COutputDeviceDialog::RefusedFirstChars()
{
    return QStringLiteral("0123456789");
}

COutputDeviceDialog::COutputDeviceDialog()
{
    BindText(IDC_DEFAULT_NAME, &defaultName, kNameLimit);
    BindText(IDC_NAME, &selectedName, kNameLimit);
    BindSelection(IDC_TYPE, &m_typeIndex);
    for (const int id : {IDC_MODE_DEFAULT, IDC_MODE_SELECT, IDC_ADD, IDC_DEL, IDC_SETTINGS})
        Control(id);
}

BOOL COutputDeviceDialog::OnInitDialog()
{
    m_windowCreated = true;
    // The list's stored entries give way to the table's rows.
    m_typeRows.clear();
    QStringList titles;
    for (const OutputDeviceTypeRow* row = OutputDeviceTypeTable; row->type >= 0; ++row) {
        m_typeRows.push_back(row->type);
        titles << QString::fromUtf8(row->title);
    }
    Control(IDC_TYPE).items = titles;
    m_typeIndex = -1;
    FillDeviceNames();
    if (manager != nullptr) {
        defaultDevice = manager->GetDefaultDevice();
        defaultName = defaultDevice->GetName();
    }
    mode = selectedDevice != nullptr && selectedDevice == defaultDevice ? ModeDefault : ModeSelect;
    EnableModeControls();
    if (selectedDevice == nullptr && !m_listed.empty())
        selectedDevice = m_listed.front();
    ShowSelection();
    PushControls();
    return TRUE;
}

void COutputDeviceDialog::FillDeviceNames()
{
    m_listed.clear();
    if (const CObList* master = COutputDeviceManager::GetMasterList()) {
        for (CObject* object : *master)
            m_listed.push_back(static_cast<COutputDevice*>(object));
    }
    // A sorted list box orders without regard to case.
    std::stable_sort(m_listed.begin(), m_listed.end(), [](const COutputDevice* a, const COutputDevice* b) {
        return a->GetName().compare(b->GetName(), Qt::CaseInsensitive) < 0;
    });
    QStringList names;
    for (const COutputDevice* device : m_listed)
        names << device->GetName();
    Control(IDC_NAME).items = names;
    // Emptying the box empties its edit field too.
    m_nameIndex = -1;
    selectedName.clear();
}

void COutputDeviceDialog::ShowSelection()
{
    if (selectedDevice == nullptr)
        return;
    const auto listed = std::find(m_listed.begin(), m_listed.end(), selectedDevice);
    if (listed != m_listed.end()) {
        m_nameIndex = static_cast<int>(listed - m_listed.begin());
        selectedName = selectedDevice->GetName();
    }
    SelectTypeRow(selectedDevice->GetType());
    PushControls();
}

void COutputDeviceDialog::EnableModeControls()
{
    Control(IDC_DEFAULT_NAME).enabled = mode == ModeDefault;
    for (const int id : {IDC_ADD, IDC_DEL, IDC_NAME})
        Control(id).enabled = mode == ModeSelect;
}

int COutputDeviceDialog::ChosenType() const
{
    if (m_typeIndex < 0 || m_typeIndex >= static_cast<int>(m_typeRows.size()))
        return 0;
    return m_typeRows[static_cast<size_t>(m_typeIndex)];
}

void COutputDeviceDialog::SelectTypeRow(int type)
{
    const auto row = std::find(m_typeRows.begin(), m_typeRows.end(), type);
    m_typeIndex = row != m_typeRows.end() ? static_cast<int>(row - m_typeRows.begin()) : -1;
}

void COutputDeviceDialog::OnModeDefault()
{
    if (!PullControls())
        return;
    if (defaultDevice != nullptr)
        SelectTypeRow(defaultDevice->GetType());
    EnableModeControls();
    PushControls();
}

void COutputDeviceDialog::OnModeSelect()
{
    if (!PullControls())
        return;
    ShowSelection();
    EnableModeControls();
    PushControls();
}

void COutputDeviceDialog::OnNameSelChange()
{
    const int selection = Control(IDC_NAME).selection;
    if (selection >= 0 && selection < static_cast<int>(m_listed.size())) {
        m_nameIndex = selection;
        selectedDevice = m_listed[static_cast<size_t>(selection)];
    }
    ShowSelection();
}

void COutputDeviceDialog::OnDefaultNameKillFocus()
{
    if (!PullControls())
        return;
    ApplyDefaultName();
}

void COutputDeviceDialog::ApplyDefaultName()
{
    if (defaultDevice != nullptr && defaultName != defaultDevice->GetName())
        defaultDevice->SetName(defaultName);
}

void COutputDeviceDialog::OnTypeSelChange()
{
    if (!PullControls())
        return;
    const int type = ChosenType();
    if (mode == ModeSelect) {
        // A type chosen over a name typed for a new device is that device's,
        // made by Add, Settings or OK; the selected one keeps its own.
        if (selectedDevice != nullptr && selectedDevice->GetName() == selectedName)
            selectedDevice->SetType(type);
    } else if (defaultDevice != nullptr && defaultDevice->GetType() != type) {
        defaultDevice->SetType(type);
    }
}

COutputDevice* COutputDeviceDialog::CreateNamedMasterDevice()
{
    if (manager == nullptr)
        return nullptr;
    return manager->CreateMasterDevice(selectedDevice, selectedName, ChosenType());
}

void COutputDeviceDialog::OnAdd()
{
    if (!PullControls())
        return;
    if (COutputDevice* device = CreateNamedMasterDevice()) {
        FillDeviceNames();
        selectedDevice = device;
    }
    ShowSelection();
}

void COutputDeviceDialog::OnDel()
{
    COutputDevice* device = selectedDevice;
    if (device == nullptr)
        return;
    if (device->IsInUse()) {
        Prompts().MessageBox(LoadResString(IDS_DEVICE_IN_USE), {}, MB_OK);
        return;
    }
    // Asked before anything changes: No leaves the device where it was.
    if (Prompts().MessageBox(LoadResString(IDS_DELETE_DEVICE_QUESTION), {}, MB_YESNO) != IDYES)
        return;
    if (manager != nullptr)
        manager->DetachDevice(device);
    // The entry of this very device: an equal one may stand before it.
    COutputDeviceManager::RemoveFromMaster(device);
    const int previous = m_nameIndex;
    FillDeviceNames();
    const int last = static_cast<int>(m_listed.size()) - 1;
    selectedDevice = previous >= 0 && last >= 0 ? m_listed[static_cast<size_t>(std::min(previous, last))] : nullptr;
    ShowSelection();
    PushControls();
}

void COutputDeviceDialog::OnSettings(QWidget* parent)
{
    if (!PullControls())
        return;
    COutputDevice* device = nullptr;
    if (mode == ModeSelect) {
        if (COutputDevice* made = CreateNamedMasterDevice()) {
            FillDeviceNames();
            selectedDevice = made;
        }
        ShowSelection();
        device = selectedDevice;
    } else {
        device = defaultDevice;
    }
    if (device != nullptr && manager != nullptr)
        manager->EditSettings(parent, device);
}

bool COutputDeviceDialog::OnOK()
{
    if (!PullControls())
        return false;
    if (mode == ModeSelect) {
        const int type = ChosenType();
        if (selectedDevice == nullptr || selectedDevice->GetName() != selectedName || selectedDevice->GetType() != type)
            selectedDevice = CreateNamedMasterDevice();
    } else {
        // A name typed and confirmed with Enter never left its field.
        ApplyDefaultName();
    }
    return true;
}

COutputDevice* COutputDeviceDialog::GetChosenDevice() const
{
    return mode == ModeSelect ? selectedDevice : defaultDevice;
}

void COutputDeviceDialog::PushControls()
{
    Control(IDC_MODE_DEFAULT).check = mode == ModeDefault ? 1 : 0;
    Control(IDC_MODE_SELECT).check = mode == ModeSelect ? 1 : 0;
    Push();
    // The entry stays selected only while the box shows its name; a name
    // typed over it stays in the field.
    DialogControlState& names = Control(IDC_NAME);
    names.selection = m_nameIndex >= 0 && names.items.value(m_nameIndex) == selectedName ? m_nameIndex : -1;
    if (m_controlsPushed)
        m_controlsPushed();
}

bool COutputDeviceDialog::PullControls()
{
    if (!Pull())
        return false;
    if (Control(IDC_MODE_DEFAULT).check != 0)
        mode = ModeDefault;
    else if (Control(IDC_MODE_SELECT).check != 0)
        mode = ModeSelect;
    return true;
}
