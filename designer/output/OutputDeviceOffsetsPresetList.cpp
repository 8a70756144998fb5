#include "designer/output/OutputDeviceOffsetsPresetList.h"

#include "designer/preferences/Preferences.h"
#include "designer/resources/MasterListMerge.h"
#include "platform/framework/Archive.h"
#include "platform/framework/File.h"
#include "platform/framework/SafeFileSave.h"
#include "platform/ui/MessageFormat.h"
#include "platform/ui/PromptService.h"
#include "platform/ui/StringTable.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {

using PresetPointer = std::unique_ptr<COutputDeviceOffsetsPreset>;

void ReadPresets(CArchive& ar, std::vector<PresetPointer>& presets)
{
    const DWORD count = ar.ReadCount();
    ar.EnsureAvailable(count * 2ull);
    for (DWORD i = 0; i < count; ++i) {
        COutputDeviceOffsetsPreset* preset = ar.ReadObject<COutputDeviceOffsetsPreset>();
        if (preset == nullptr)
            continue;
        // A repeated reference would be owned twice: the file is damaged.
        const bool listed = std::any_of(presets.begin(), presets.end(),
                                        [preset](const PresetPointer& held) { return held.get() == preset; });
        if (listed)
            AfxThrowArchiveException(CArchiveException::badIndex, ar.GetFilePath());
        presets.emplace_back(preset);
    }
}

void WritePresets(CArchive& ar, const std::vector<PresetPointer>& presets)
{
    ar.WriteCount(static_cast<DWORD>(presets.size()));
    for (const PresetPointer& preset : presets)
        ar.WriteObject(preset.get());
}

} // namespace

COutputDeviceOffsetsPresetList::~COutputDeviceOffsetsPresetList() = default;

QString COutputDeviceOffsetsPresetList::GetFilePath()
{
    CPreferences& preferences = Preferences();
    if (preferences.OutputDeviceOffsetsFileName.isEmpty()) {
        if (preferences.ApplicationDataDirectory.isEmpty())
            return {};
        const QString fileName =
            StringTable::Find(IDS_OFFSETS_PRESETS_FILE_NAME).value_or(QStringLiteral("WvdOutdOffsetsPresets.dat"));
        preferences.OutputDeviceOffsetsFileName =
            QDir::toNativeSeparators(preferences.ApplicationDataDirectory + u'/' + fileName);
    }
    return preferences.OutputDeviceOffsetsFileName;
}

void COutputDeviceOffsetsPresetList::Load()
{
    m_damaged.ReadStarting();
    const QString path = GetFilePath();
    if (path.isEmpty() || !QFileInfo::exists(path))
        return;
    bool malformed = false;
    try {
        kwvd::WithMasterFileLock(path, [&] {
            CFile file;
            CFileException openError;
            if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary, &openError)) {
                m_damaged.OpenFailed(openError, path);
                return;
            }
            try {
                CArchive ar(&file, CArchive::load, 4096);
                ReadPresets(ar, m_presets);
                ar.Close();
            } catch (const CException&) {
                malformed = true;
            }
        });
    } catch (const CException&) {
        // The folder could not be locked: the file is there but unread.
        m_damaged.ReadFailed();
    }
    if (malformed) {
        m_damaged.ReadFailed();
        // Told once the lock is let go.
        Prompts().MessageBox(FormatResMessage(IDS_OFFSETS_PRESETS_READ_ERROR, path), {}, MB_OK);
    }
}

void COutputDeviceOffsetsPresetList::Store()
{
    if (!m_modified)
        return;
    const QString path = GetFilePath();
    QString kept;
    bool saved = false;
    try {
        if (path.isEmpty())
            AfxThrowFileException(CFileException::badPath, 0, path);
        kwvd::WithMasterFileLock(path, [&] {
            m_damaged.KeepBeforeWrite(path, [&kept](const QString&, const QString& damaged) { kept = damaged; });
            kwvd::SaveFileReplacing(path, [this](CFile& file) {
                CArchive ar(&file, CArchive::store, 4096);
                WritePresets(ar, m_presets);
                ar.Close();
            });
        });
        saved = true;
    } catch (const CException&) {
    }
    // The messages wait until the lock is let go: a box waits for the user.
    if (!kept.isEmpty())
        Prompts().MessageBox(FormatResMessage(IDS_OFFSETS_PRESETS_FILE_KEPT, path, kept), {}, MB_OK);
    if (!saved) {
        Prompts().MessageBox(FormatResMessage(IDS_OFFSETS_PRESETS_SAVE_ERROR, path), {}, MB_OK);
        return;
    }
    m_damaged.WriteSucceeded();
    m_modified = false;
}

std::vector<const COutputDeviceOffsetsPreset*> COutputDeviceOffsetsPresetList::Presets() const
{
    std::vector<const COutputDeviceOffsetsPreset*> presets;
    presets.reserve(m_presets.size());
    for (const PresetPointer& preset : m_presets)
        presets.push_back(preset.get());
    return presets;
}

const COutputDeviceOffsetsPreset* COutputDeviceOffsetsPresetList::FindByValues(const Offsets& offsets) const
{
    for (const PresetPointer& preset : m_presets) {
        if (preset->GetOffsets() == offsets)
            return preset.get();
    }
    return nullptr;
}

const COutputDeviceOffsetsPreset* COutputDeviceOffsetsPresetList::FindByName(const QString& name) const
{
    for (const PresetPointer& preset : m_presets) {
        if (preset->GetName() == name)
            return preset.get();
    }
    return nullptr;
}

COutputDeviceOffsetsPresetList::AddResult COutputDeviceOffsetsPresetList::Add(const QString& name,
                                                                              const Offsets& offsets,
                                                                              const COutputDeviceOffsetsPreset** added)
{
    if (const COutputDeviceOffsetsPreset* existing = FindByName(name)) {
        if (existing->IsReadOnly())
            return AddResult::ReadOnlyName;
        Remove(existing);
    }
    m_presets.push_back(std::make_unique<COutputDeviceOffsetsPreset>(name, offsets));
    m_modified = true;
    if (added != nullptr)
        *added = m_presets.back().get();
    return AddResult::Added;
}

BOOL COutputDeviceOffsetsPresetList::Remove(const COutputDeviceOffsetsPreset* preset)
{
    const auto it = std::find_if(m_presets.begin(), m_presets.end(),
                                 [preset](const PresetPointer& held) { return held.get() == preset; });
    if (it == m_presets.end() || (*it)->IsReadOnly())
        return FALSE;
    m_presets.erase(it);
    m_modified = true;
    return TRUE;
}
