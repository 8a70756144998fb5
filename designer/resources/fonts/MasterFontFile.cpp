// The process-wide master font list and font library list of CFontManager:
// the master font file, the exchange file that may replace it, and the list
// operations.

#include "designer/preferences/PreferenceStrings.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/MasterListMerge.h"
#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/AS400FontLib.h"
#include "designer/resources/fonts/FontManager.h"
#include "designer/resources/fonts/FontStrings.h"
#include "platform/framework/Archive.h"
#include "platform/framework/DamagedFileKeeper.h"
#include "platform/framework/File.h"
#include "platform/framework/SafeFileSave.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptHelpers.h"
#include "platform/ui/StringTable.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <memory>

namespace {

struct MasterLists
{
    std::unique_ptr<CObList> fonts;     // owns CAS400Font
    std::unique_ptr<CObList> libraries; // owns CAS400FontLib
    std::vector<CFontManager*> liveManagers;
    bool loading = false;
    // A file the last load could not read is kept aside by the next save
    // instead of being written over.
    kwvd::DamagedFileKeeper damaged;
    // Fonts and libraries as they were read, for the merge at save.
    kwvd::MasterListBaseline baseline;
    // While a document is read: what it added to the lists.
    bool recording = false;
    std::vector<CAS400Font*> addedFonts;
    std::vector<CAS400FontLib*> addedLibraries;
};

MasterLists& Master()
{
    static MasterLists lists;
    return lists;
}

// Fonts taken off the master list while pages might still have shown them:
// they stay valid until the program ends.
std::vector<std::unique_ptr<CAS400Font>>& RetiredFonts()
{
    static std::vector<std::unique_ptr<CAS400Font>> retired;
    return retired;
}

void FreeLists()
{
    MasterLists& lists = Master();
    if (lists.fonts) {
        for (CObject* font : *lists.fonts)
            delete font;
        lists.fonts.reset();
    }
    if (lists.libraries) {
        for (CObject* library : *lists.libraries)
            delete library;
        lists.libraries.reset();
    }
    lists.baseline.Clear();
    lists.addedFonts.clear();
    lists.addedLibraries.clear();
}

void ReportWithDebug(const CException& error, UINT messageId, const QString& path)
{
    if (Preferences().EnableDebugServices)
        ReportError(error);
    AfxMessageBox(FormatResMessage(messageId, path), MB_OK | MB_ICONERROR);
}

template <class T>
void WriteList(CArchive& ar, const CObList& list)
{
    ar.WriteCount(static_cast<DWORD>(list.GetCount()));
    for (const CObject* object : list)
        ar.WriteObject(object);
}

// Only records of the expected class reach the list; a null entry is skipped.
template <class T>
void ReadList(CArchive& ar, CObList& list)
{
    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(static_cast<ULONGLONG>(count) * 2);
    for (DWORD i = 0; i < count; ++i) {
        T* object = ar.ReadObject<T>();
        if (object == nullptr)
            continue;
        // A repeated reference would be owned twice: the file is damaged.
        if (list.Find(object) != list.end())
            AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
        list.AddTail(object);
    }
}

// One key space for both lists of the file: a font is what it stores (the
// list never holds two equal fonts), a library its name.
QString MergeKey(const CObject* object)
{
    if (object->IsKindOf(KWVD_RUNTIME_CLASS(CAS400FontLib)))
        return QStringLiteral("L:") + static_cast<const CAS400FontLib*>(object)->GetName();
    return QStringLiteral("F:") + QString::fromLatin1(kwvd::StoredBytes(object).toBase64());
}

// Both lists behind each other in one list that only points at them.
void PointAtBoth(CObList& both, const CObList& fonts, const CObList& libraries)
{
    for (CObject* object : fonts)
        both.AddTail(object);
    for (CObject* object : libraries)
        both.AddTail(object);
}

void ReadBothLists(CArchive& ar, CObList& both)
{
    ReadList<CAS400Font>(ar, both);
    ReadList<CAS400FontLib>(ar, both);
}

void RecordBaseline()
{
    MasterLists& lists = Master();
    if (!lists.fonts || !lists.libraries)
        return;
    CObList both;
    PointAtBoth(both, *lists.fonts, *lists.libraries);
    lists.baseline.Record(both, MergeKey);
}

QString DefaultFileName()
{
    const QString name = LoadResString(IDS_MASTER_FONT_FILE);
    return name == QLatin1String("???") ? QStringLiteral("WvdFontsV2.dat") : name;
}

FontLanguageDefaults PreferenceLanguageDefaults()
{
    const CPreferences& preferences = Preferences();
    FontLanguageDefaults defaults;
    defaults.codePageId = preferences.DefaultCodePageID;
    defaults.characterId = preferences.DefaultChrID;
    defaults.serverCodePage = preferences.DefaultCodePage;
    return defaults;
}

} // namespace

void CFontManager::RegisterLiveManager(CFontManager* manager)
{
    Master().liveManagers.push_back(manager);
}

bool CFontManager::UnregisterLiveManager(CFontManager* manager)
{
    std::vector<CFontManager*>& live = Master().liveManagers;
    std::erase(live, manager);
    return live.empty();
}

int CFontManager::GetLiveManagerCount()
{
    return static_cast<int>(Master().liveManagers.size());
}

QString CFontManager::MasterFontFilePath()
{
    CPreferences& preferences = Preferences();
    if (preferences.MasterFontFileV2.isEmpty()) {
        // Without a data folder there is nowhere to keep the list.
        if (preferences.ApplicationDataDirectory.isEmpty())
            return {};
        preferences.MasterFontFileV2 = preferences.ApplicationDataDirectory + u'/' + DefaultFileName();
    }
    return preferences.MasterFontFileV2;
}

CObList* CFontManager::GetMasterFontList()
{
    if (!Master().fonts)
        LoadMasterFontFile();
    return Master().fonts.get();
}

CObList* CFontManager::GetFontLibraryList()
{
    if (!Master().libraries)
        LoadMasterFontFile();
    return Master().libraries.get();
}

void CFontManager::LoadMasterFontFile()
{
    MasterLists& lists = Master();
    if (lists.loading)
        return;
    FreeLists();
    lists.fonts = std::make_unique<CObList>();
    lists.libraries = std::make_unique<CObList>();
    lists.damaged.ReadStarting();

    const QString path = MasterFontFilePath();
    if (path.isEmpty())
        return;

    struct LoadingFlag
    {
        bool& flag;
        ~LoadingFlag()
        {
            flag = false;
            // An imported list replaces the file's whole; a read one is
            // what this process's changes are measured against.
            if (!Master().baseline.IsReplaceWhole())
                RecordBaseline();
        }
    } loadingFlag{lists.loading};
    lists.loading = true;

    const QString newPath = path + QLatin1String(".new");
    const QString oldPath = path + QLatin1String(".old");
    if (QFileInfo::exists(newPath) && ImportFontExchangeFile(newPath, PreferenceLanguageDefaults())) {
        // The imported fonts are the list now; a failed swap is reported
        // and the load goes on, the import will simply run again next time.
        try {
            if (QFileInfo::exists(oldPath) || QFileInfo(oldPath).isSymLink())
                CFile::Remove(oldPath);
            CFile::Rename(newPath, oldPath);
        } catch (const CFileException& error) {
            ReportError(error);
        }
        lists.baseline.ReplaceWhole();
        return;
    }

    CFile file;
    CFileException openError;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite, &openError)) {
        // A first start has no file yet: the list starts empty and the file
        // is made on save. One that is there but cannot be read is reported.
        if (lists.damaged.OpenFailed(openError, path))
            ReportError(openError);
        return;
    }
    try {
        CArchive ar(&file, CArchive::load);
        ReadList<CAS400Font>(ar, *lists.fonts);
        ReadList<CAS400FontLib>(ar, *lists.libraries);
        ar.Close();
    } catch (const CException& error) {
        lists.damaged.ReadFailed();
        ReportWithDebug(error, IDS_MASTER_FONT_READ_ERROR, path);
    }
}

void CFontManager::SaveMasterFontFile()
{
    MasterLists& lists = Master();
    if (!lists.fonts || !lists.libraries)
        return;
    const QString path = MasterFontFilePath();
    if (!path.isEmpty()) {
        lists.damaged.KeepBeforeWrite(path, [](const QString& damaged, const QString& kept) {
            AfxMessageBox(FormatResMessage(IDS_MASTER_FONT_FILE_KEPT, damaged, kept), MB_OK | MB_ICONEXCLAMATION);
        });
        try {
            kwvd::WithMasterFileLock(path, [&] {
                // What other designers wrote since this one read the file
                // stays; this one's additions, changes and deletions go in.
                const kwvd::OwnedObList disk = kwvd::ReadListFileForMerge(path, ReadBothLists);
                CObList ours;
                PointAtBoth(ours, *lists.fonts, *lists.libraries);
                const std::vector<const CObject*> merged = lists.baseline.Merge(ours, disk.get(), MergeKey);
                CObList fonts;
                CObList libraries;
                for (const CObject* object : merged)
                    (object->IsKindOf(KWVD_RUNTIME_CLASS(CAS400FontLib)) ? libraries : fonts)
                        .AddTail(const_cast<CObject*>(object));
                kwvd::SaveFileReplacing(path, [&](CFile& file) {
                    CArchive ar(&file, CArchive::store);
                    WriteList<CAS400Font>(ar, fonts);
                    WriteList<CAS400FontLib>(ar, libraries);
                    ar.Close();
                });
            });
            lists.damaged.WriteSucceeded();
        } catch (const CException& error) {
            ReportWithDebug(error, IDS_MASTER_FONT_SAVE_ERROR, path);
        }
    }
    FreeLists();
}

BOOL CFontManager::AddToMasterList(CAS400Font* font)
{
    if (font == nullptr)
        return FALSE;
    CObList* master = GetMasterFontList();
    if (master == nullptr || FindMasterFont(font) != nullptr)
        return FALSE;
    master->AddTail(font);
    if (Master().recording)
        Master().addedFonts.push_back(font);
    SyncFontLibrary(font->GetLibrary());
    return TRUE;
}

void CFontManager::BeginMasterChanges()
{
    MasterLists& lists = Master();
    lists.recording = true;
    lists.addedFonts.clear();
    lists.addedLibraries.clear();
}

void CFontManager::KeepMasterChanges()
{
    MasterLists& lists = Master();
    lists.recording = false;
    lists.addedFonts.clear();
    lists.addedLibraries.clear();
}

void CFontManager::UndoMasterChanges()
{
    MasterLists& lists = Master();
    lists.recording = false;
    if (lists.fonts) {
        for (CAS400Font* font : lists.addedFonts) {
            if (const auto position = lists.fonts->Find(font); position != lists.fonts->end()) {
                lists.fonts->RemoveAt(position);
                font->DropDisplayCaches();
                RetiredFonts().emplace_back(font);
            }
        }
    }
    if (lists.libraries) {
        for (CAS400FontLib* library : lists.addedLibraries) {
            if (const auto position = lists.libraries->Find(library); position != lists.libraries->end()) {
                lists.libraries->RemoveAt(position);
                delete library;
            }
        }
    }
    lists.addedFonts.clear();
    lists.addedLibraries.clear();
}

BOOL CFontManager::DeleteMasterFont(CAS400Font* font)
{
    if (font == nullptr)
        return FALSE;
    if (GetFont(0) == font && m_fonts.GetHolder(0) != nullptr) {
        AfxMessageBox(LoadResString(IDS_FONT_DELETE_DEFAULT), MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    for (const CFontManager* manager : Master().liveManagers) {
        if (manager->m_fonts.IsFontUsed(font)) {
            AfxMessageBox(LoadResString(IDS_FONT_DELETE_IN_USE), MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
    }
    CObList* master = GetMasterFontList();
    if (master == nullptr)
        return FALSE;
    auto position = master->Find(font);
    if (position == master->end())
        return FALSE;
    master->RemoveAt(position);
    font->DropDisplayCaches();
    RetiredFonts().emplace_back(font);
    SyncFontLibrary(font->GetLibrary());
    return TRUE;
}

CAS400Font* CFontManager::FindMasterFont(const CAS400Font* font)
{
    CObList* master = GetMasterFontList();
    if (master == nullptr || font == nullptr)
        return nullptr;
    for (CObject* object : *master) {
        auto* candidate = static_cast<CAS400Font*>(object);
        if (candidate->IsSameFont(font))
            return candidate;
    }
    return nullptr;
}

CAS400Font* CFontManager::FindMasterFontByFace(const CAS400Font* font)
{
    CObList* master = GetMasterFontList();
    if (master == nullptr || font == nullptr)
        return nullptr;
    for (CObject* object : *master) {
        auto* candidate = static_cast<CAS400Font*>(object);
        if (candidate->GetTypeface() == font->GetTypeface() && candidate->GetHeight() == font->GetHeight()
            && candidate->GetFlags() == font->GetFlags())
            return candidate;
    }
    return nullptr;
}

BOOL CFontManager::GetInstalledFonts(std::vector<CAS400Font*>& fonts)
{
    CObList* master = GetMasterFontList();
    if (master == nullptr)
        return FALSE;
    for (CObject* object : *master) {
        auto* font = static_cast<CAS400Font*>(object);
        const CAS400FontLib* library = FindFontLibrary(font->GetLibrary());
        if (library != nullptr && library->IsInstalled())
            fonts.push_back(font);
    }
    return TRUE;
}

CAS400Font* CFontManager::FindBestMatch(const CAS400Font* wanted)
{
    if (wanted == nullptr)
        return nullptr;
    std::vector<CAS400Font*> installed;
    GetInstalledFonts(installed);
    // Every candidate is scored: a score below 0 beats an exact 0.
    CAS400Font* best = nullptr;
    int bestScore = CAS400Font::kNoMatch;
    for (CAS400Font* candidate : installed) {
        const int score = wanted->MatchScore(*candidate);
        if (score < bestScore) {
            bestScore = score;
            best = candidate;
        }
    }
    return best;
}

void CFontManager::SyncFontLibrary(const QString& library)
{
    CObList* master = GetMasterFontList();
    if (master == nullptr)
        return;
    const bool used = std::any_of(master->begin(), master->end(), [&](const CObject* object) {
        return static_cast<const CAS400Font*>(object)->GetLibrary() == library;
    });
    if (used)
        InstallFontLibrary(library);
    else
        RemoveFontLibrary(library);
}

BOOL CFontManager::InstallFontLibrary(const QString& library)
{
    CObList* libraries = Master().libraries.get();
    if (libraries == nullptr)
        return FALSE;
    for (CObject* object : *libraries) {
        auto* entry = static_cast<CAS400FontLib*>(object);
        if (entry->GetName() == library) {
            entry->SetInstalled(TRUE);
            return TRUE;
        }
    }
    auto* entry = new CAS400FontLib(library);
    libraries->AddTail(entry);
    if (Master().recording)
        Master().addedLibraries.push_back(entry);
    return TRUE;
}

BOOL CFontManager::RemoveFontLibrary(const QString& library)
{
    CObList* libraries = Master().libraries.get();
    if (libraries == nullptr)
        return FALSE;
    for (auto position = libraries->begin(); position != libraries->end(); ++position) {
        auto* entry = static_cast<CAS400FontLib*>(*position);
        if (entry->GetName() == library) {
            libraries->RemoveAt(position);
            std::erase(Master().addedLibraries, entry);
            delete entry;
            return TRUE;
        }
    }
    return FALSE;
}

CAS400FontLib* CFontManager::FindFontLibrary(const QString& library)
{
    CObList* libraries = GetFontLibraryList();
    if (libraries == nullptr)
        return nullptr;
    for (CObject* object : *libraries) {
        auto* entry = static_cast<CAS400FontLib*>(object);
        if (entry->GetName() == library)
            return entry;
    }
    return nullptr;
}
