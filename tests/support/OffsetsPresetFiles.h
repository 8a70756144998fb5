#pragma once
// Presets files of the printer offsets written from the file's rules: the
// count, the first preset with its class name, later ones by class
// reference, each preset's name, read-only word and eight offsets. Also the
// scope that points the preference at a test's own file.

#include "designer/output/OutputClasses.h"
#include "designer/preferences/Preferences.h"
#include "tests/support/ArchiveBytes.h"
#include "tests/support/JvxDocumentFixture.h"
#include "tests/support/ScopedPrompts.h"

#include <QTemporaryDir>

#include <array>
#include <string>
#include <vector>

struct PresetRecord
{
    std::u16string name;
    int readOnly = 0;
    std::array<long long, 8> offsets{};
};

// The archive's wide text with the length form its size needs.
inline Bytes WideText(const std::u16string& text)
{
    Bytes length;
    if (text.size() < 255)
        length = Bytes{static_cast<BYTE>(text.size())};
    else if (text.size() < 0xFFFE)
        length = Hex("FF") + Word(static_cast<long long>(text.size()));
    else
        length = Hex("FF FF FF") + Long(static_cast<long long>(text.size()));
    return Hex("FF FE FF") + length + Utf16(text.c_str());
}

inline Bytes PresetData(const PresetRecord& preset)
{
    Bytes bytes = WideText(preset.name) + Word(preset.readOnly);
    for (const long long offset : preset.offsets)
        bytes = bytes + Long(offset);
    return bytes;
}

inline Bytes PresetsFile(const std::vector<PresetRecord>& presets)
{
    Bytes bytes = Word(static_cast<long long>(presets.size()));
    for (size_t i = 0; i < presets.size(); ++i) {
        bytes = bytes
                + (i == 0 ? Hex("FF FF") + Word(1) + Word(26) + Ascii("COutputDeviceOffsetsPreset") : Hex("01 80"))
                + PresetData(presets[i]);
    }
    return bytes;
}

// A test's own presets file (not yet there), the preferences pointing at
// it, and the prompts recorded.
class PresetsFileScope
{
public:
    PresetsFileScope()
    {
        RegisterOutputClasses();
        RegisterOutputStrings();
        m_prefs.ApplicationDataDirectory = m_folder.path();
        m_prefs.OutputDeviceOffsetsFileName = Path();
        m_before = SetPreferences(&m_prefs);
    }
    ~PresetsFileScope() { SetPreferences(m_before); }
    PresetsFileScope(const PresetsFileScope&) = delete;
    PresetsFileScope& operator=(const PresetsFileScope&) = delete;

    QString Path() const { return m_folder.filePath(QStringLiteral("WvdOutdOffsetsPresets.dat")); }
    QString DamagedPath() const { return Path() + QStringLiteral(".damaged"); }
    CPreferences& Prefs() { return m_prefs; }
    ScopedPromptAnswers& Prompts() { return m_prompts; }

private:
    QTemporaryDir m_folder;
    CPreferences m_prefs;
    CPreferences* m_before = nullptr;
    ScopedPromptAnswers m_prompts;
};
