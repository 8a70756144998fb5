// The process-wide master list of output devices and its file.

#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/MasterListMerge.h"
#include "platform/framework/Archive.h"
#include "platform/framework/DamagedFileKeeper.h"
#include "platform/framework/File.h"
#include "platform/framework/SafeFileSave.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <QDir>

#include <algorithm>
#include <memory>
#include <vector>

namespace {

struct MasterState
{
    std::unique_ptr<CObList> list; // owns its devices
    int liveManagers = 0;
    // Every live manager, so that no device a document still holds in a
    // slot is freed while another document replaces it in the list.
    std::vector<const COutputDeviceManager*> managers;
    // A file the last load could not read is kept aside by the next save.
    kwvd::DamagedFileKeeper damaged;
    // The list as read, for the merge at save.
    kwvd::MasterListBaseline baseline;
    // While a document is read: the devices it added (the list owns them)
    // and those it replaced (owned here), so a failed read can be undone.
    bool recording = false;
    std::vector<COutputDevice*> added;
    std::vector<std::unique_ptr<COutputDevice>> replaced;
    // Added by a read that failed: out of the list, but the failed
    // document's slots and elements may still point at them until it goes.
    std::vector<std::unique_ptr<COutputDevice>> retired;
};

QString DeviceKey(const CObject* object)
{
    return static_cast<const COutputDevice*>(object)->GetName();
}

void ReadDeviceList(CArchive& ar, CObList& list)
{
    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(count * 2ull);
    for (DWORD i = 0; i < count; ++i) {
        COutputDevice* device = ar.ReadObject<COutputDevice>();
        if (device == nullptr)
            continue;
        // A repeated reference would be owned twice: the file is damaged.
        if (list.Find(device) != list.end())
            AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
        list.AddTail(device);
    }
}

MasterState& Master()
{
    static MasterState state;
    return state;
}

void FreeMasterList()
{
    MasterState& state = Master();
    if (!state.list)
        return;
    for (CObject* object : *state.list)
        delete object;
    state.list->RemoveAll();
    state.list.reset();
    state.baseline.Clear();
    // No manager lives, so nothing points at them any more.
    state.added.clear();
    state.replaced.clear();
    state.retired.clear();
}

bool IsHeldByOtherManager(const COutputDevice* device, const COutputDeviceManager* asking)
{
    for (const COutputDeviceManager* other : Master().managers) {
        if (other != asking && other->IndexOfDevice(device) != 0)
            return true;
    }
    return false;
}

void ReportMasterFailure(const CException& error, UINT messageId, const QString& path)
{
    if (Preferences().EnableDebugServices)
        ReportError(error);
    Prompts().MessageBox(FormatResMessage(messageId, path), {}, MB_OK);
}

} // namespace

COutputDeviceManager::COutputDeviceManager(CDesignerDoc* document) : m_pDocument(document)
{
    m_devices.SetSize(1);
    if (Master().liveManagers == 0)
        LoadMasterFile();
    ++Master().liveManagers;
    Master().managers.push_back(this);
}

COutputDeviceManager::~COutputDeviceManager()
{
    m_pDefaultDevice.reset();
    m_pExportDevice.reset();
    std::vector<const COutputDeviceManager*>& managers = Master().managers;
    managers.erase(std::remove(managers.begin(), managers.end(), this), managers.end());
    if (Master().liveManagers > 0 && --Master().liveManagers == 0)
        SaveMasterFile();
}

const CObList* COutputDeviceManager::GetMasterList()
{
    return Master().list.get();
}

int COutputDeviceManager::GetLiveManagerCount()
{
    return Master().liveManagers;
}

QString COutputDeviceManager::GetMasterFilePath()
{
    CPreferences& preferences = Preferences();
    if (preferences.MasterOutputDeviceFileV2.isEmpty()) {
        // Without a data folder (preferences never loaded) there is no
        // place of the user's to write to.
        if (preferences.ApplicationDataDirectory.isEmpty())
            return {};
        const QString fileName = StringTable::Find(240).value_or(QStringLiteral("wvdOutpV2.dat"));
        preferences.MasterOutputDeviceFileV2 =
            QDir::toNativeSeparators(preferences.ApplicationDataDirectory + u'/' + fileName);
    }
    return preferences.MasterOutputDeviceFileV2;
}

void COutputDeviceManager::LoadMasterFile()
{
    MasterState& state = Master();
    FreeMasterList();
    state.list = std::make_unique<CObList>();
    state.damaged.ReadStarting();

    const QString path = GetMasterFilePath();
    if (path.isEmpty())
        return;
    CFile file;
    CFileException openError;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &openError)) {
        // The first run has no file yet; anything else must not be
        // overwritten silently by the next save.
        if (state.damaged.OpenFailed(openError, path))
            ReportMasterFailure(openError, IDS_MASTER_DEVICE_READ_ERROR, path);
        return;
    }
    try {
        CArchive ar(&file, CArchive::load, 4096);
        ReadDeviceList(ar, *state.list);
        ar.Close();
    } catch (const CException& error) {
        state.damaged.ReadFailed();
        ReportMasterFailure(error, IDS_MASTER_DEVICE_READ_ERROR, path);
    }
    state.baseline.Record(*state.list, DeviceKey);
}

void COutputDeviceManager::SaveMasterFile()
{
    MasterState& state = Master();
    if (!state.list)
        return;
    const QString path = GetMasterFilePath();
    if (!path.isEmpty()) {
        state.damaged.KeepBeforeWrite(path, [](const QString& damaged, const QString& kept) {
            Prompts().MessageBox(FormatResMessage(IDS_MASTER_DEVICE_FILE_KEPT, damaged, kept), {}, MB_OK);
        });
        try {
            kwvd::WithMasterFileLock(path, [&] {
                // Other designers' additions since the load stay.
                const kwvd::OwnedObList disk = kwvd::ReadListFileForMerge(path, ReadDeviceList);
                const std::vector<const CObject*> merged = state.baseline.Merge(*state.list, disk.get(), DeviceKey);
                kwvd::SaveFileReplacing(path, [&merged](CFile& file) {
                    CArchive ar(&file, CArchive::store, 4096);
                    ar.WriteCount(static_cast<DWORD>(merged.size()));
                    for (const CObject* device : merged)
                        ar.WriteObject(device);
                    ar.Close();
                });
            });
            state.damaged.WriteSucceeded();
        } catch (const CException& error) {
            ReportMasterFailure(error, IDS_MASTER_DEVICE_SAVE_ERROR, path);
        }
    }
    FreeMasterList();
}

BOOL COutputDeviceManager::AddToMaster(COutputDeviceManager* manager, COutputDevice* device)
{
    CObList* list = Master().list.get();
    if (list == nullptr || device == nullptr || FindEqualInMaster(device) != nullptr)
        return FALSE;
    for (auto it = list->begin(); it != list->end();) {
        auto* existing = static_cast<COutputDevice*>(*it);
        if (existing->GetName() != device->GetName()) {
            ++it;
            continue;
        }
        // A device another document holds in a slot is in use there even
        // before an Output element names it; freeing it would leave that
        // document pointing at nothing.
        if (existing->IsInUse() || IsHeldByOtherManager(existing, manager)) {
            Prompts().MessageBox(FormatResMessage(IDS_DEVICE_NAME_ACTIVE, existing->GetName()), {}, MB_OK);
            return FALSE;
        }
        if (manager != nullptr)
            manager->DetachDevice(existing);
        it = list->RemoveAt(it);
        if (Master().recording)
            Master().replaced.emplace_back(existing);
        else
            delete existing;
    }
    list->AddTail(device);
    if (Master().recording)
        Master().added.push_back(device);
    return TRUE;
}

void COutputDeviceManager::BeginMasterChanges()
{
    MasterState& state = Master();
    state.recording = true;
    state.added.clear();
    state.replaced.clear();
}

void COutputDeviceManager::KeepMasterChanges()
{
    MasterState& state = Master();
    state.recording = false;
    state.added.clear();
    state.replaced.clear();
}

void COutputDeviceManager::UndoMasterChanges()
{
    MasterState& state = Master();
    state.recording = false;
    auto wasAdded = [&state](const COutputDevice* device) {
        return std::find(state.added.begin(), state.added.end(), device) != state.added.end();
    };
    if (CObList* list = state.list.get()) {
        for (COutputDevice* device : state.added) {
            if (const auto it = list->Find(device); it != list->end()) {
                list->RemoveAt(it);
                state.retired.emplace_back(device);
            }
        }
        // A device the read added and then replaced again is no more
        // wanted than the others.
        for (std::unique_ptr<COutputDevice>& device : state.replaced) {
            if (wasAdded(device.get()))
                state.retired.push_back(std::move(device));
            else
                list->AddTail(device.release());
        }
    }
    state.added.clear();
    state.replaced.clear();
}

COutputDevice* COutputDeviceManager::FindEqualInMaster(const COutputDevice* device)
{
    const CObList* list = Master().list.get();
    if (list == nullptr || device == nullptr)
        return nullptr;
    for (CObject* object : *list) {
        auto* candidate = static_cast<COutputDevice*>(object);
        if (device->IsEqual(candidate))
            return candidate;
    }
    return nullptr;
}

COutputDevice* COutputDeviceManager::FindMasterByName(const QString& name)
{
    const CObList* list = Master().list.get();
    if (list == nullptr)
        return nullptr;
    for (CObject* object : *list) {
        auto* candidate = static_cast<COutputDevice*>(object);
        if (candidate->GetName() == name)
            return candidate;
    }
    return nullptr;
}

BOOL COutputDeviceManager::RemoveFromMaster(COutputDevice* device)
{
    MasterState& state = Master();
    CObList* list = state.list.get();
    if (list == nullptr || device == nullptr)
        return FALSE;
    const auto it = list->Find(device);
    if (it == list->end())
        return FALSE;
    list->RemoveAt(it);
    // Other documents' slots may still point at it.
    state.retired.emplace_back(device);
    return TRUE;
}
