// Fuzz target for the font table CSDEF.FNT: each input is the table found in
// the current folder, read whole for a document's language, and each of its
// fonts is looked up again by typeface.
//   font_table_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/font_table_fuzz

#include "designer/resources/fonts/AS400Font.h"
#include "designer/resources/fonts/AS400FontMaker.h"
#include "tests/fuzz/DesignerFuzzEnvironment.h"

using namespace kwvd::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    DesignerFuzzEnvironment::Get();
    // The current folder is the first place the table is looked for.
    QDir::setCurrent(ScratchFolder().path());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DesignerFuzzEnvironment::InputFile(QString::fromLatin1(CAS400FontMaker::kFileName), data, size);
    CAS400FontMaker maker(37, 697, QStringLiteral("T1V10037"));
    for (const auto& font : maker.GetCharsetFonts())
        maker.FindFgidByTypeface(*font);
    return 0;
}
