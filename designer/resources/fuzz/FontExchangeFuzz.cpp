// Fuzz target for font exchange files: each input is imported into the
// master font list (completed from the shipped font table), and the list is
// then saved and freed as at the end of a designer.
//
// Seeds: KWVD_FUZZ_WRITE_SEEDS=<folder> font_exchange_fuzz exports a master
// list of three fonts.
//   font_exchange_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/font_exchange_fuzz

#include "tests/fuzz/DesignerFuzzEnvironment.h"
#include "tests/support/MasterListOps.h"

#include <cstdlib>

using namespace kwvd::fuzz;

namespace {

void WriteSeeds(const QString& folder)
{
    CFontManager manager;
    CFontManager::GetMasterFontList();
    for (const char* name : {"Courier", "Gothic Text", "Letter"})
        ApplyMasterOp(MasterKind::Fonts, 'a', QString::fromLatin1(name));
    const QString path = ScratchFolder().filePath(QStringLiteral("fonts.fex"));
    if (manager.ExportFontExchangeFile(path))
        CopySeed(folder, QStringLiteral("three-fonts.fex"), path);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    DesignerFuzzEnvironment::Start(WriteSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = DesignerFuzzEnvironment::InputFile(QStringLiteral("input.fex"), data, size);
    FontLanguageDefaults defaults;
    defaults.codePageId = 37;
    defaults.characterId = 697;
    defaults.serverCodePage = QStringLiteral("T1V10037");
    CFontManager::ImportFontExchangeFile(path, defaults);
    CFontManager::SaveMasterFontFile();
    return 0;
}
