#include "designer/output/OutputDeviceManager.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/LocalHostName.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/preferences/Preferences.h"
#include "platform/framework/Archive.h"
#include "platform/framework/File.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <set>
#include <vector>

KWVD_IMPLEMENT_SERIAL(COutputDeviceManager, CObject, VERSIONABLE_SCHEMA | 3)

namespace {

// Frees the devices a WVD load made and did not hand on: each object once,
// never one that now lives in the master list or is the default device. A
// later reference in the data to one of them is refused by the archive.
void DeleteUnclaimed(CArchive& ar, std::vector<COutputDevice*>& read, const COutputDevice* defaultDevice)
{
    std::set<COutputDevice*> unique;
    for (COutputDevice* device : read) {
        if (device != nullptr && device != defaultDevice)
            unique.insert(device);
    }
    read.clear();
    for (COutputDevice* device : unique) {
        const CObList* master = COutputDeviceManager::GetMasterList();
        if (master != nullptr && master->Find(device) != master->end())
            continue;
        ar.ForgetObject(device);
        delete device;
    }
}

} // namespace

const QString& COutputDeviceManager::DefaultDeviceName()
{
    static const QString name = QStringLiteral("*DOC");
    return name;
}

COutputDeviceManager::COutputDeviceManager() : COutputDeviceManager(nullptr) {}

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

void COutputDeviceManager::SetExportPageSize(const int size[2])
{
    COutputDevice* device = GetExportDevice();
    // The setters refuse what lies outside -1 and 0..999999.
    device->SetPageWidthTwips(size[0]);
    device->SetPageHeightTwips(size[1]);
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

BOOL COutputDeviceManager::FindInDevice(int index, const QString& text)
{
    const COutputDevice* device = GetDevice(index);
    return device != nullptr ? device->Find(text) : FALSE;
}

BOOL COutputDeviceManager::ReplaceInDevice(int index, const QString& find, const QString& replace)
{
    COutputDevice* device = GetDevice(index);
    return device != nullptr ? device->Replace(find, replace) : FALSE;
}

wchar_t COutputDeviceManager::GetXmlDocumentFlag() const
{
    return m_pDocument != nullptr && m_pDocument->IsXmlDocument() ? L'1' : L'0';
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

BOOL COutputDeviceManager::IsFaxDeviceInUse()
{
    const COutputDevice* defaultDevice = GetDefaultDevice();
    if (defaultDevice->IsInUse() && defaultDevice->GetType() == COutputDevice::kFaxType)
        return TRUE;
    for (int i = 1; i < GetSlotCount(); ++i) {
        const auto* device = static_cast<const COutputDevice*>(m_devices.GetAt(i));
        if (device != nullptr && device->IsInUse() && device->GetType() == COutputDevice::kFaxType)
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

int COutputDeviceManager::AddDeviceByName(const QString& name, const QString& typeCode)
{
    int type = -1;
    COutputDevice::GetTypeFromCode(typeCode, type);
    if (name == GetDefaultDevice()->GetName())
        return 0;
    if (const int index = FindIndexByName(name); index != 0)
        return index;
    COutputDevice* device = FindMasterByName(name);
    if (device == nullptr) {
        std::unique_ptr<COutputDevice> created = CreateNamedDevice(name, type, QString());
        if (AddToMaster(this, created.get())) {
            device = created.release();
        } else {
            // Refused as equal to a master device: that one serves.
            device = FindEqualInMaster(created.get());
            if (device == nullptr)
                return -1;
        }
    }
    return AttachDevice(device);
}

std::unique_ptr<COutputDevice> COutputDeviceManager::CreateDevice()
{
    auto device = std::make_unique<COutputDevice>();
    ApplyDisplayDefaults(device.get());
    return device;
}

std::unique_ptr<COutputDevice> COutputDeviceManager::CreateNamedDevice(QString name, int type,
                                                                       const QString& description)
{
    auto device = std::make_unique<COutputDevice>(type, name.toUpper(), description);
    ApplyDisplayDefaults(device.get());
    return device;
}

std::unique_ptr<COutputDevice> COutputDeviceManager::CreateDeviceCopy(const COutputDevice* source)
{
    if (source == nullptr)
        return nullptr;
    auto device = std::make_unique<COutputDevice>(source);
    ApplyDisplayDefaults(device.get());
    return device;
}

COutputDevice* COutputDeviceManager::CreateMasterDevice(const COutputDevice* model, QString name, int type)
{
    if (name.isEmpty())
        return nullptr;
    name = name.toUpper();
    if (COutputDevice* existing = FindMasterByName(name))
        return existing;
    std::unique_ptr<COutputDevice> device;
    if (model != nullptr) {
        device = CreateDeviceCopy(model);
        // The copy took the model's users: the new device would list
        // another device's elements as its own.
        for (const std::vector<CFormOutputElement*> users = device->GetUsers(); CFormOutputElement * user : users)
            device->RemoveUser(user);
        device->SetName(name);
        device->SetType(type);
    } else {
        device = CreateNamedDevice(name, type, QString());
    }
    if (!AddToMaster(this, device.get()))
        return nullptr;
    return device.release();
}

void COutputDeviceManager::ApplyDisplayDefaults(COutputDevice* device)
{
    if (device == nullptr || m_pDocument == nullptr)
        return;
    const CPreferences& preferences = Preferences();
    device->SetDisplayFolder(preferences.DefaultLibrary + QStringLiteral("/PCSRV"));
    device->SetDisplayServerPath(preferences.GetExportPathRoot());
    QString host;
    GetLocalHostName(host);
    device->SetDisplayTargetAddress(host);
}

// ---------------------------------------------------------------- WVD form

void COutputDeviceManager::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        m_devices.Serialize(ar);
        ar.WriteObject(GetDefaultDevice());
        return;
    }

    const UINT stored = ar.GetObjectSchema();
    const UINT schema = stored == CArchive::kNoObjectSchema ? 3 : stored;
    if (auto* document = dynamic_cast<CDesignerDoc*>(ar.m_pDocument))
        m_pDocument = document;

    std::vector<COutputDevice*> read;
    try {
        const DWORD count = ar.ReadCount();
        ar.EnsureAvailable(count * 2ull);
        read.reserve(count);
        for (DWORD i = 0; i < count; ++i)
            read.push_back(ar.ReadObject<COutputDevice>());
        if (schema > 2) {
            m_pDefaultDevice.reset();
            COutputDevice* defaultDevice = ar.ReadObject<COutputDevice>();
            // A default device that is also in the array is owned here from
            // now on; step (a) below keeps it out of the deletion.
            m_pDefaultDevice.reset(defaultDevice);
        } else if (schema == 2) {
            GetDefaultDevice()->Serialize(ar);
        }
    } catch (...) {
        COutputDevice* defaultDevice = m_pDefaultDevice.get();
        DeleteUnclaimed(ar, read, defaultDevice);
        throw;
    }

    COutputDevice* defaultDevice = GetDefaultDevice();
    // Slot 0 stays empty whatever the file says.
    for (size_t j = 1; j < read.size(); ++j) {
        COutputDevice* device = read[j];
        if (device == nullptr)
            continue;
        COutputDevice* placed = nullptr;
        if (device->IsEqual(defaultDevice)) {
            placed = defaultDevice;
            if (device == defaultDevice)
                read[j] = nullptr;
        } else if (COutputDevice* master = FindEqualInMaster(device)) {
            placed = master;
        } else if (AddToMaster(this, device)) {
            placed = device;
            read[j] = nullptr;
        } else {
            Prompts().MessageBox(FormatResMessage(IDS_DEVICE_INIT_FAILED, device->GetName()), {}, MB_OK);
            DeleteUnclaimed(ar, read, defaultDevice);
            AfxThrowArchiveException(CArchiveException::genericException, ar.GetFilePath());
        }
        if (static_cast<qsizetype>(j) >= m_devices.GetSize())
            m_devices.SetSize(static_cast<qsizetype>(j) + 1);
        m_devices.SetAt(static_cast<qsizetype>(j), placed);
    }
    DeleteUnclaimed(ar, read, defaultDevice);
}

// ---------------------------------------------------------------- JVX section

void COutputDeviceManager::ExchangeJVX(CJVXArchive& ar)
{
    if (ar.IsStoring()) {
        const COutputDevice* exportDevice = GetExportDevice();
        const wchar_t flag = GetXmlDocumentFlag();
        COutputDevice* defaultDevice = GetDefaultDevice();
        if (defaultDevice->IsInUse())
            defaultDevice->ExchangeJVX(ar, flag, exportDevice);
        for (int i = 0; i < GetSlotCount(); ++i) {
            if (auto* device = static_cast<COutputDevice*>(m_devices.GetAt(i)))
                device->ExchangeJVX(ar, flag, exportDevice);
        }
        return;
    }

    if (CDesignerDoc* document = ar.GetDocument())
        m_pDocument = document;
    const int version = ar.GetVersion();
    for (;;) {
        const LONG position = ar.Seek(0, CFile::current);
        QString next;
        const int read = ar.ReadText(next, 2);
        ar.Seek(position, CFile::begin);
        if (read != 2 || next.size() < 2 || next[0] != u'*' || !QStringLiteral("SAFHDE").contains(next[1]))
            break;

        std::unique_ptr<COutputDevice> device = CreateDevice();
        device->ExchangeJVX(ar, GetXmlDocumentFlag(), nullptr);
        // The page size is the file's: an equal master device may carry
        // another one, since equality does not look at the page size.
        const int size[2] = {device->GetPageWidthTwips(), device->GetPageHeightTwips()};
        COutputDevice* master = FindEqualInMaster(device.get());
        if (master == nullptr) {
            if (!AddToMaster(this, device.get()))
                continue;
            master = device.release();
        }
        AttachDevice(master);
        if (version > 17)
            SetExportPageSize(size);
    }
}
