// Fuzz target for the printer offsets presets file: each input is the file
// when the Printer Offsets dialog opens (the list is read, searched and
// changed) and closes (the list is written, a damaged file kept aside).
//
// Seeds: KWVD_FUZZ_WRITE_SEEDS=<folder> offsets_presets_fuzz saves a list of two.

#include "designer/output/OutputDeviceOffsetsPresetList.h"
#include "tests/fuzz/DesignerFuzzEnvironment.h"

#include <QFile>

using namespace kwvd::fuzz;

namespace {

QString PresetsPath()
{
    return ScratchFolder().filePath(QStringLiteral("WvdOutdOffsetsPresets.dat"));
}

void UseScratchPresetsFile()
{
    DesignerFuzzEnvironment::Get().prefs.OutputDeviceOffsetsFileName = PresetsPath();
}

void WriteSeeds(const QString& folder)
{
    UseScratchPresetsFile();
    QFile::remove(PresetsPath());
    {
        COutputDeviceOffsetsPresetList list;
        list.Add(QStringLiteral("Laser"), {360, 240, 240, 360, 360, 240, 240, 360});
        list.Add(QString(300, u'N'), {1, 2, 3, 4, 5, 6, 7, 8});
        list.Store();
    }
    CopySeed(folder, QStringLiteral("two-presets.dat"), PresetsPath());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    DesignerFuzzEnvironment::Start(WriteSeeds);
    UseScratchPresetsFile();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DesignerFuzzEnvironment::InputFile(QFileInfo(PresetsPath()).fileName(), data, size);
    QFile::remove(PresetsPath() + QStringLiteral(".damaged"));
    COutputDeviceOffsetsPresetList list;
    list.Load();
    for (const COutputDeviceOffsetsPreset* preset : list.Presets()) {
        list.FindByName(preset->GetName());
        list.FindByValues(preset->GetOffsets());
    }
    if (!list.Presets().empty())
        list.Remove(list.Presets().front());
    list.Add(QStringLiteral("Fuzz"), {});
    list.Store();
    return 0;
}
