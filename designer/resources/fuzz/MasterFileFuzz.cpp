// Fuzz target for the master files, built once per list (KWVD_FUZZ_MASTER_KIND:
// 0 devices, 1 barcodes, 2 fonts): each input is the list's file when a
// manager starts (the list is read) and ends (the list is merged into the
// file and saved, then freed).
//
// Seeds: KWVD_FUZZ_WRITE_SEEDS=<folder> <target> saves a list of three.
//   master_font_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/master_font_fuzz

#include "tests/fuzz/DesignerFuzzEnvironment.h"
#include "tests/support/MasterListOps.h"

#include <QFile>

#include <cstdlib>

using namespace kwvd::fuzz;

namespace {

constexpr auto kKind = static_cast<MasterKind>(KWVD_FUZZ_MASTER_KIND);

QString MasterPath()
{
    switch (kKind) {
    case MasterKind::Devices:
        return COutputDeviceManager::GetMasterFilePath();
    case MasterKind::Barcodes:
        return CBarcodeManager::MasterBarcodeFilePath();
    case MasterKind::Fonts:
        return CFontManager::MasterFontFilePath();
    }
    return {};
}

void WriteSeeds(const QString& folder)
{
    QFile::remove(MasterPath());
    {
        const auto manager = StartMasterManager(kKind);
        for (const char* name : {"FIRST", "SECOND", "THIRD"})
            ApplyMasterOp(kKind, 'a', QString::fromLatin1(name));
    }
    CopySeed(folder, QStringLiteral("three-%1.dat").arg(QString::fromLatin1(MasterKindName(kKind))), MasterPath());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    DesignerFuzzEnvironment::Start(WriteSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DesignerFuzzEnvironment::InputFile(QFileInfo(MasterPath()).fileName(), data, size);
    const auto manager = StartMasterManager(kKind);
    MasterNames(kKind);
    return 0;
}
