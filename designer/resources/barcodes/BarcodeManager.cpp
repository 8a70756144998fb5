#include "designer/resources/barcodes/BarcodeManager.h"

#include "designer/document/DesignerDoc.h"
#include "designer/document/jvx/JVXArchive.h"
#include "designer/preferences/PreferenceStrings.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/MasterListMerge.h"
#include "designer/resources/barcodes/Barcode.h"
#include "designer/resources/barcodes/BarcodeStrings.h"
#include "platform/framework/Archive.h"
#include "platform/framework/File.h"
#include "platform/framework/SafeFileSave.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <QFileInfo>

#include <memory>
#include <utility>

KWVD_IMPLEMENT_SERIAL(CBarcodeManager, CObject, VERSIONABLE_SCHEMA | 0)

namespace {

struct MasterBarcodes
{
    std::unique_ptr<CObList> list; // owns CBarcode
    int liveManagers = 0;
    kwvd::MasterListBaseline baseline; // the list as read, for the merge at save
};

BarcodeSettingsRunner g_settingsRunner;

// What a user of the definition sees: the compared fields and the module
// width, which the comparison leaves out.
bool SettingsDiffer(const CBarcode& a, const CBarcode& b)
{
    return !a.IsEqual(&b) || a.m_nModuleWidth != b.m_nModuleWidth;
}

QString BarcodeKey(const CObject* object)
{
    return static_cast<const CBarcode*>(object)->GetName();
}

void ReadBarcodeList(CArchive& ar, CObList& list)
{
    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 2);
    for (DWORD i = 0; i < count; ++i) {
        CBarcode* barcode = ar.ReadObject<CBarcode>();
        // A repeated reference would be owned twice.
        if (barcode != nullptr && list.Find(barcode) == list.end())
            list.AddTail(barcode);
    }
}

MasterBarcodes& Master()
{
    static MasterBarcodes master;
    return master;
}

void ReportWithDebug(const CException& error, UINT messageId, const QString& path)
{
    if (Preferences().EnableDebugServices)
        ReportError(error);
    AfxMessageBox(FormatResMessage(messageId, path), MB_OK | MB_ICONERROR);
}

void ManagerCreated()
{
    if (Master().liveManagers++ == 0)
        CBarcodeManager::LoadMasterBarcodeFile();
}

void ManagerDestroyed()
{
    if (--Master().liveManagers == 0)
        CBarcodeManager::SaveMasterBarcodeFile();
}

} // namespace

CBarcodeManager::CBarcodeManager()
{
    ManagerCreated();
}

CBarcodeManager::CBarcodeManager(CDesignerDoc* document) : m_pDocument(document)
{
    ManagerCreated();
}

CBarcodeManager::~CBarcodeManager()
{
    DeleteAll();
    ManagerDestroyed();
}

void CBarcodeManager::DeleteAll()
{
    for (CObject* barcode : m_barcodes)
        delete barcode;
    m_barcodes.RemoveAll();
}

CBarcode* CBarcodeManager::GetBarcode(int index) const
{
    if (index < 0 || index >= GetSlotCount())
        return nullptr;
    return static_cast<CBarcode*>(m_barcodes.GetAt(index));
}

void CBarcodeManager::Serialize(CArchive& ar)
{
    m_pDocument = dynamic_cast<CDesignerDoc*>(ar.m_pDocument);
    RemoveUnused();
    if (ar.IsStoring()) {
        ar.WriteCount(static_cast<DWORD>(m_barcodes.GetSize()));
        for (const CObject* barcode : m_barcodes)
            ar.WriteObject(barcode);
        return;
    }
    DeleteAll();
    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 2);
    for (DWORD i = 0; i < count; ++i) {
        CBarcode* barcode = ar.ReadObject<CBarcode>();
        // A second reference to one definition would be owned twice.
        if (barcode != nullptr && FindBarcode(barcode) >= 0)
            AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
        m_barcodes.Add(barcode);
    }
}

void CBarcodeManager::RemoveUnused()
{
    for (qsizetype i = 0; i < m_barcodes.GetSize(); ++i) {
        auto* barcode = static_cast<CBarcode*>(m_barcodes.GetAt(i));
        if (barcode != nullptr && !barcode->HasUsers()) {
            delete barcode;
            m_barcodes.SetAt(i, nullptr);
        }
    }
    qsizetype size = m_barcodes.GetSize();
    while (size > 0 && m_barcodes.GetAt(size - 1) == nullptr)
        --size;
    m_barcodes.SetSize(size);
}

int CBarcodeManager::AddUser(CFormElement* element, int index)
{
    if (index == -1)
        return -1;
    if (CBarcode* barcode = GetBarcode(index)) {
        barcode->AddUser(element);
        return index;
    }
    const int added = Add(CBarcode(QStringLiteral("Default")));
    if (added < 0)
        return -1;
    GetBarcode(added)->AddUser(element);
    return added;
}

BOOL CBarcodeManager::RemoveUser(CFormElement* element, int index)
{
    if (index == -1)
        return TRUE;
    CBarcode* barcode = GetBarcode(index);
    if (barcode == nullptr)
        return FALSE;
    barcode->RemoveUser(element);
    if (!barcode->HasUsers()) {
        m_barcodes.SetAt(index, nullptr);
        delete barcode;
    }
    return TRUE;
}

int CBarcodeManager::Add(const CBarcode& definition)
{
    int index = 0;
    while (index < GetSlotCount() && m_barcodes.GetAt(index) != nullptr)
        ++index;
    if (index >= kMaxBarcodes) {
        AfxMessageBox(FormatResMessage(IDS_BARCODE_MAXIMUM, kMaxBarcodes), MB_OK | MB_ICONEXCLAMATION);
        return -1;
    }
    auto* copy = new CBarcode;
    copy->Copy(definition);
    if (index < GetSlotCount())
        m_barcodes.SetAt(index, copy);
    else
        m_barcodes.Add(copy);
    return index;
}

int CBarcodeManager::FindEqual(const CBarcode& definition) const
{
    return FindMatching(definition, false);
}

int CBarcodeManager::FindMatching(const CBarcode& definition, bool sameModuleWidth) const
{
    for (int index = GetSlotCount() - 1; index >= 0; --index) {
        const CBarcode* barcode = GetBarcode(index);
        if (barcode != nullptr && barcode->IsEqual(&definition)
            && (!sameModuleWidth || barcode->m_nModuleWidth == definition.m_nModuleWidth))
            return index;
    }
    return -1;
}

BarcodeSettingsRunner SetBarcodeSettingsRunner(BarcodeSettingsRunner runner)
{
    std::swap(g_settingsRunner, runner);
    return runner;
}

BOOL CBarcodeManager::EditBarcode(int* index, QWidget* parent)
{
    if (index == nullptr || !g_settingsRunner)
        return FALSE;
    const int start = *index;
    CBarcode* current = GetBarcode(start);
    CBarcode before;
    if (current != nullptr)
        before.Copy(*current);

    CBarcode* chosen = nullptr;
    const BOOL ok = g_settingsRunner(parent, *this, current, chosen);

    BOOL result = FALSE;
    bool modified = false;
    // The dialog writes into the definitions themselves, so the document's
    // own one may have changed even on Cancel (a type change).
    if (current != nullptr && SettingsDiffer(*current, before)) {
        current->RevalidateUsers();
        modified = true;
        result = TRUE;
    }
    if (ok && chosen != nullptr) {
        if (chosen != current) {
            int slot = FindMatching(*chosen, true);
            if (slot < 0)
                slot = Add(*chosen);
            // A full list keeps the element's barcode.
            if (slot >= 0) {
                *index = slot;
                result = TRUE;
                if (SettingsDiffer(*chosen, before))
                    modified = true;
            }
        }
    }
    // A change in place is one undo step. A new slot has no users until the
    // caller registers its element, which marks the document; a snapshot now
    // would drop the slot.
    if (modified && *index == start && m_pDocument != nullptr) {
        CDocChangeGuard guard(m_pDocument);
        m_pDocument->SetModifiedFlag(TRUE);
    }
    return result;
}

int CBarcodeManager::FindBarcode(const CBarcode* barcode) const
{
    if (barcode == nullptr)
        return -1;
    for (int index = GetSlotCount() - 1; index >= 0; --index) {
        if (GetBarcode(index) == barcode)
            return index;
    }
    return -1;
}

void CBarcodeManager::DeleteBarcode(CBarcode* barcode)
{
    const int index = FindBarcode(barcode);
    if (index < 0)
        return;
    m_barcodes.SetAt(index, nullptr);
    delete barcode;
}

int CBarcodeManager::CountUsed() const
{
    int used = 0;
    for (int index = 0; index < GetSlotCount(); ++index) {
        const CBarcode* barcode = GetBarcode(index);
        if (barcode != nullptr && barcode->HasUsers())
            ++used;
    }
    return used;
}

int CBarcodeManager::GetBarcodeFontIndex(int index) const
{
    CBarcode* barcode = GetBarcode(index);
    return barcode != nullptr ? barcode->ResolveTextFontIndex() : 0;
}

void CBarcodeManager::ExchangeJVX(CJVXArchive& ar)
{
    const int version = ar.GetVersion();
    if (version >= 1 && version <= 10) {
        if (ar.IsStoring() && CountUsed() > 0)
            AfxMessageBox(FormatResMessage(IDS_BARCODE_JVX_VERSION, version), MB_OK | MB_ICONINFORMATION);
        return;
    }

    if (ar.IsStoring()) {
        for (int index = 0; index < GetSlotCount(); ++index) {
            CBarcode* barcode = GetBarcode(index);
            if (barcode == nullptr || !barcode->HasUsers())
                continue;
            // The marker opens the barcode's line.
            ar.BeginLine();
            ar.WriteText(QStringLiteral("#C") + QChar(u'A' + index), 3);
            barcode->ExchangeJVX(ar);
        }
        return;
    }

    m_pDocument = ar.GetDocument();
    LONG position = ar.Seek(0, CFile::current);
    for (;;) {
        QString marker;
        if (ar.ReadText(marker, 3) < 3 || !marker.startsWith(QLatin1String("#C")))
            break;
        const QChar letter = marker.at(2);
        const int slot = letter >= u'A' && letter <= u'Z' ? letter.unicode() - u'A' : 0;
        auto barcode = std::make_unique<CBarcode>();
        barcode->ExchangeJVX(ar);
        if (slot >= GetSlotCount())
            m_barcodes.SetSize(slot + 1);
        delete m_barcodes.GetAt(slot);
        m_barcodes.SetAt(slot, barcode.release());
        position = ar.Seek(0, CFile::current);
    }
    ar.Seek(position, CFile::begin);
}

QString CBarcodeManager::MasterBarcodeFilePath()
{
    CPreferences& preferences = Preferences();
    if (preferences.MasterBarcodeFileName.isEmpty()) {
        // Without a data folder there is nowhere to keep the list.
        if (preferences.ApplicationDataDirectory.isEmpty())
            return {};
        QString name = LoadResString(IDS_MASTER_BARCODE_FILE);
        if (name == QLatin1String("???"))
            name = QStringLiteral("wvdBarcodes.dat");
        preferences.MasterBarcodeFileName = preferences.ApplicationDataDirectory + u'/' + name;
    }
    return preferences.MasterBarcodeFileName;
}

CObList* CBarcodeManager::GetMasterBarcodeList()
{
    return Master().list.get();
}

int CBarcodeManager::GetLiveManagerCount()
{
    return Master().liveManagers;
}

void CBarcodeManager::LoadMasterBarcodeFile()
{
    MasterBarcodes& master = Master();
    if (master.list) {
        for (CObject* barcode : *master.list)
            delete barcode;
    }
    master.list = std::make_unique<CObList>();
    master.baseline.Clear();
    const QString path = MasterBarcodeFilePath();
    if (path.isEmpty())
        return;
    CFile file;
    CFileException openError;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        // A first start has no file yet; one that is there but cannot be
        // read is the user's to hear of.
        if (QFileInfo::exists(path))
            ReportWithDebug(openError, IDS_MASTER_BARCODE_READ_ERROR, path);
        return;
    }
    try {
        CArchive ar(&file, CArchive::load);
        ReadBarcodeList(ar, *master.list);
        ar.Close();
    } catch (const CException& error) {
        ReportWithDebug(error, IDS_MASTER_BARCODE_READ_ERROR, path);
    }
    master.baseline.Record(*master.list, BarcodeKey);
}

void CBarcodeManager::SaveMasterBarcodeFile()
{
    MasterBarcodes& master = Master();
    if (!master.list)
        return;
    const QString path = MasterBarcodeFilePath();
    if (!path.isEmpty()) {
        try {
            kwvd::WithMasterFileLock(path, [&] {
                // Other designers' additions since the load stay.
                const kwvd::OwnedObList disk = kwvd::ReadListFileForMerge(path, ReadBarcodeList);
                const std::vector<const CObject*> merged = master.baseline.Merge(*master.list, disk.get(), BarcodeKey);
                kwvd::SaveFileReplacing(path, [&](CFile& file) {
                    CArchive ar(&file, CArchive::store);
                    ar.WriteCount(static_cast<DWORD>(merged.size()));
                    for (const CObject* barcode : merged)
                        ar.WriteObject(barcode);
                    ar.Close();
                });
            });
        } catch (const CException& error) {
            ReportWithDebug(error, IDS_MASTER_BARCODE_SAVE_ERROR, path);
        }
    }
    for (CObject* barcode : *master.list)
        delete barcode;
    master.list.reset();
    master.baseline.Clear();
}

CBarcode* CBarcodeManager::FindMasterBarcode(const QString& name)
{
    if (name.isEmpty())
        return nullptr;
    if (CBarcode* found = FindMasterByName(name))
        return found;
    auto created = std::make_unique<CBarcode>(name);
    if (!AddToMaster(created.get()))
        return nullptr;
    return created.release();
}

BOOL CBarcodeManager::AddToMaster(CBarcode* definition)
{
    CObList* list = Master().list.get();
    if (list == nullptr || definition == nullptr)
        return FALSE;
    if (FindEqualInMaster(definition) != nullptr)
        return FALSE;
    for (auto position = list->begin(); position != list->end();) {
        auto* entry = static_cast<CBarcode*>(*position);
        if (entry->GetName() == definition->GetName()) {
            position = list->RemoveAt(position);
            delete entry;
        } else {
            ++position;
        }
    }
    list->AddTail(definition);
    return TRUE;
}

CBarcode* CBarcodeManager::FindEqualInMaster(const CBarcode* definition)
{
    CObList* list = Master().list.get();
    if (list == nullptr)
        return nullptr;
    for (CObject* object : *list) {
        auto* entry = static_cast<CBarcode*>(object);
        if (entry->IsEqual(definition))
            return entry;
    }
    return nullptr;
}

CBarcode* CBarcodeManager::FindMasterByName(const QString& name)
{
    CObList* list = Master().list.get();
    if (list == nullptr)
        return nullptr;
    for (CObject* object : *list) {
        auto* entry = static_cast<CBarcode*>(object);
        if (entry->GetName() == name)
            return entry;
    }
    return nullptr;
}
