// Fuzz target for local spooled files: each input is read as a spooled text
// file into a new document's spooled file, as File > Open Spooled File does.
//   spooled_text_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/spooled_text_fuzz

#include "designer/document/DesignerDoc.h"
#include "designer/document/SpooledFile.h"
#include "tests/fuzz/DesignerFuzzEnvironment.h"

using namespace kwvd::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    auto& environment = DesignerFuzzEnvironment::Get();
    // Few pages, so that an input of many page breaks stays small.
    environment.prefs.MaxSpooledFilePages = 20;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = DesignerFuzzEnvironment::InputFile(QStringLiteral("input.txt"), data, size);
    CDesignerDoc doc;
    if (!doc.OnNewDocument())
        return 0;
    CDocChangeGuard change(&doc);
    doc.GetSpooledFile()->ReadTextFile(path);
    return 0;
}
