// Fuzz target for the WVD document: each input is opened as a file through
// the document's own open, into a new document that is then closed.
//
// Seeds: KWVD_FUZZ_WRITE_SEEDS=<folder> wvd_document_fuzz writes a new
// document and one with every kind of element.
//   wvd_document_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/wvd_document_fuzz

#include "designer/document/DesignerDoc.h"
#include "tests/fuzz/DesignerFuzzEnvironment.h"
#include "tests/fuzz/SeedDocument.h"

#include <cstdlib>

using namespace kwvd::fuzz;

namespace {

void WriteSeeds(const QString& folder)
{
    {
        CDesignerDoc doc;
        if (doc.OnNewDocument() && doc.DoSave(ScratchFolder().filePath(QStringLiteral("new.wvd"))))
            CopySeed(folder, QStringLiteral("new.wvd"), ScratchFolder().filePath(QStringLiteral("new.wvd")));
    }
    CDesignerDoc doc;
    if (!doc.OnNewDocument())
        return;
    FillSeedDocument(doc);
    const QString path = ScratchFolder().filePath(QStringLiteral("every-kind.wvd"));
    if (doc.DoSave(path))
        CopySeed(folder, QStringLiteral("every-kind.wvd"), path);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    DesignerFuzzEnvironment::Start(WriteSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = DesignerFuzzEnvironment::InputFile(QStringLiteral("input.wvd"), data, size);
    CDesignerDoc doc;
    doc.OnOpenDocument(path);
    return 0;
}
