#include "designer/output/OutputDeviceManager.h"

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/shell/preferences/Preferences.h"
#include "platform/ui/StringTable.h"

KWVD_IMPLEMENT_SERIAL(COutputDeviceManager, CObject, VERSIONABLE_SCHEMA | 3)

const QString& COutputDeviceManager::DefaultDeviceName()
{
    static const QString name = QStringLiteral("*DOC");
    return name;
}

COutputDeviceManager::COutputDeviceManager()
    : COutputDeviceManager(nullptr)
{
}

COutputDeviceManager::COutputDeviceManager(CDesignerDoc* document)
    : m_pDocument(document)
{
    m_devices.SetSize(1);
}

COutputDeviceManager::~COutputDeviceManager() = default;

COutputDevice* COutputDeviceManager::GetDevice(int index)
{
    if (index == 0)
        return GetDefaultDevice();
    if (index < 0 || index >= GetSlotCount())
        return nullptr;
    return static_cast<COutputDevice*>(m_devices.GetAt(index));
}

COutputDevice* COutputDeviceManager::GetDefaultDevice()
{
    if (!m_pDefaultDevice)
        m_pDefaultDevice = CreateNamedDevice(DefaultDeviceName(), 0, LoadResString(IDS_DEFAULT_OUTPUT_DEVICE));
    return m_pDefaultDevice.get();
}

COutputDevice* COutputDeviceManager::GetExportDevice()
{
    if (!m_pExportDevice)
        m_pExportDevice = CreateDevice();
    if (m_pDocument != nullptr)
        m_pExportDevice->SetFileExitProgramLibrary(Preferences().DefaultLibrary);
    return m_pExportDevice.get();
}

int COutputDeviceManager::AttachDevice(COutputDevice* device)
{
    if (device == nullptr)
        return 0;
    if (const int index = IndexOfDevice(device); index != 0)
        return index;
    for (int i = 1; i < GetSlotCount(); ++i) {
        if (m_devices.GetAt(i) == nullptr) {
            m_devices.SetAt(i, device);
            return i;
        }
    }
    return static_cast<int>(m_devices.Add(device));
}

int COutputDeviceManager::DetachDevice(const COutputDevice* device)
{
    const int index = IndexOfDevice(device);
    if (index != 0)
        m_devices.SetAt(index, nullptr);
    return index;
}

int COutputDeviceManager::IndexOfDevice(const COutputDevice* device) const
{
    if (device == nullptr)
        return 0;
    for (int i = GetSlotCount() - 1; i >= 1; --i) {
        if (m_devices.GetAt(i) == device)
            return i;
    }
    return 0;
}

int COutputDeviceManager::FindIndexByName(const QString& name) const
{
    for (int i = GetSlotCount() - 1; i >= 1; --i) {
        const auto* device = static_cast<const COutputDevice*>(m_devices.GetAt(i));
        if (device != nullptr && device->GetName() == name)
            return i;
    }
    return 0;
}

BOOL COutputDeviceManager::GetDeviceName(int index, QString& name, BOOL resolveDoc)
{
    const COutputDevice* device = GetDevice(index);
    if (device == nullptr)
        return FALSE;
    name = device->GetName();
    if (resolveDoc != TRUE)
        return TRUE;
    if (name == DefaultDeviceName())
        name = GetExportDevice()->GetName();
    return name == DefaultDeviceName() ? FALSE : TRUE;
}

int COutputDeviceManager::GetDeviceType(int index)
{
    const COutputDevice* device = GetDevice(index);
    return device != nullptr ? device->GetType() : -1;
}

BOOL COutputDeviceManager::GetDisplayName(int index, QString& text)
{
    const COutputDevice* device = GetDevice(index);
    if (device == nullptr)
        return FALSE;
    device->GetDisplayName(text);
    return TRUE;
}

BOOL COutputDeviceManager::IsAnyDeviceInUse()
{
    if (GetDefaultDevice()->IsInUse())
        return TRUE;
    for (int i = 1; i < GetSlotCount(); ++i) {
        const auto* device = static_cast<const COutputDevice*>(m_devices.GetAt(i));
        if (device != nullptr && device->IsInUse())
            return TRUE;
    }
    return FALSE;
}

BOOL COutputDeviceManager::ReassignElement(int newIndex, int oldIndex, CFormOutputElement* element)
{
    if (newIndex == oldIndex)
        return TRUE;
    // A null user would be kept and later asked about its addresses.
    if (element == nullptr)
        return FALSE;
    COutputDevice* oldDevice = GetDevice(oldIndex);
    COutputDevice* newDevice = GetDevice(newIndex);
    if (newIndex != -1 && newDevice == nullptr)
        return FALSE;
    if (oldDevice != nullptr) {
        oldDevice->RemoveUser(element);
        // Two indexes can name one device (the default device may also sit
        // in a slot); releasing it would leave the element's new index empty.
        if (!oldDevice->IsInUse() && oldDevice != newDevice)
            DetachDevice(oldDevice);
    }
    if (newDevice != nullptr)
        newDevice->AddUser(element);
    return TRUE;
}

std::unique_ptr<COutputDevice> COutputDeviceManager::CreateDevice()
{
    return std::make_unique<COutputDevice>();
}

std::unique_ptr<COutputDevice> COutputDeviceManager::CreateNamedDevice(QString name, int type, const QString& description)
{
    return std::make_unique<COutputDevice>(type, name.toUpper(), description);
}
