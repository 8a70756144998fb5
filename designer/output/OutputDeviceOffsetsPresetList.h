#pragma once
// The printer offsets presets of the presets file "WvdOutdOffsetsPresets.dat",
// which every document and every designer process shares. The offsets dialog
// reads the file when it opens and writes it when it goes, and only when its
// own additions or deletions changed the list: a dialog that changed nothing
// never writes a stale list over another process's. The write replaces the
// file as a whole; the read and the write each hold the folder's advisory
// lock that the master files use, and nothing holds it in between.
//
// The file is one archived object list: the count, then the presets (the
// first with its class name, the later ones by class reference). Bytes after
// the list are not read.

#include "designer/output/OutputDeviceOffsetsPreset.h"

#include "platform/framework/DamagedFileKeeper.h"

#include "platform/framework/Types.h"

#include <QString>

#include <memory>
#include <vector>

inline constexpr UINT IDS_OFFSETS_PRESETS_FILE_NAME = 241; // "WvdOutdOffsetsPresets.dat"
inline constexpr UINT IDS_OFFSETS_PRESETS_READ_ERROR = 283;
inline constexpr UINT IDS_OFFSETS_PRESETS_SAVE_ERROR = 285;
inline constexpr UINT IDS_OFFSETS_PRESET_NOT_DELETABLE = 324;
inline constexpr UINT IDS_OFFSETS_PRESET_NOT_MODIFIABLE = 325;
inline constexpr UINT IDS_OFFSETS_PRESETS_FILE_KEPT = 12303;

class COutputDeviceOffsetsPresetList
{
public:
    using Offsets = COutputDeviceOffsetsPreset::Offsets;

    COutputDeviceOffsetsPresetList() = default;
    ~COutputDeviceOffsetsPresetList();
    COutputDeviceOffsetsPresetList(const COutputDeviceOffsetsPresetList&) = delete;
    COutputDeviceOffsetsPresetList& operator=(const COutputDeviceOffsetsPresetList&) = delete;

    // The preference OutputDeviceOffsetsFileName; when it is empty the data
    // folder's file, which the preference then keeps. Empty without a data
    // folder.
    static QString GetFilePath();

    // Appends the file's presets. A missing or unopenable file adds none and
    // says nothing; a malformed one gives message 283 and what was read
    // before the fault stays.
    void Load();
    // Writes the list when it changed since the load; message 285 when the
    // file cannot be written, and the changes are lost. A file the load
    // could not read is first kept aside, with a message.
    void Store();

    // The list in its order (item data of the dialog's combo box).
    std::vector<const COutputDeviceOffsetsPreset*> Presets() const;
    bool IsModified() const { return m_modified; }

    // The first preset with these offsets, or with exactly this name.
    const COutputDeviceOffsetsPreset* FindByValues(const Offsets& offsets) const;
    const COutputDeviceOffsetsPreset* FindByName(const QString& name) const;

    enum class AddResult {
        Added,
        ReadOnlyName, // a read-only preset has the name: nothing changed
    };
    // A writable preset at the end; it replaces the first one of the same
    // name unless that is read-only. The new preset in *added.
    AddResult Add(const QString& name, const Offsets& offsets, const COutputDeviceOffsetsPreset** added = nullptr);
    // Deletes the preset; FALSE when it is read-only or not listed.
    BOOL Remove(const COutputDeviceOffsetsPreset* preset);

private:
    std::vector<std::unique_ptr<COutputDeviceOffsetsPreset>> m_presets;
    bool m_modified = false;
    kwvd::DamagedFileKeeper m_damaged;
};
