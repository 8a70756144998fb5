// Fuzz target for the JVX import: each input is imported as a JVX file into
// a new document, which is then closed.
//
// Seeds: KWVD_FUZZ_WRITE_SEEDS=<folder> jvx_import_fuzz exports a new
// document and one with every kind of element, at the oldest, a middle and the
// newest version.
//   jvx_import_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/jvx_import_fuzz

#include "designer/document/DesignerDoc.h"
#include "tests/fuzz/DesignerFuzzEnvironment.h"
#include "tests/fuzz/SeedDocument.h"

#include <cstdlib>

using namespace kwvd::fuzz;

namespace {

void WriteSeeds(const QString& folder)
{
    for (const bool full : {false, true}) {
        for (const int version : {1, 18, 28}) {
            CDesignerDoc doc;
            if (!doc.OnNewDocument())
                return;
            if (full)
                FillSeedDocument(doc);
            const QString name = QStringLiteral("%1-v%2.jvx")
                                     .arg(full ? QStringLiteral("every-kind") : QStringLiteral("new"))
                                     .arg(version);
            const QString path = ScratchFolder().filePath(name);
            QString member = QStringLiteral("SEED");
            if (doc.ExportJVXFile(path, member, version))
                CopySeed(folder, name, path);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    DesignerFuzzEnvironment::Start(WriteSeeds);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = DesignerFuzzEnvironment::InputFile(QStringLiteral("input.jvx"), data, size);
    CDesignerDoc doc;
    if (doc.OnNewDocument())
        doc.ImportJVXFile(path);
    return 0;
}
