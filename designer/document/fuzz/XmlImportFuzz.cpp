// Fuzz target for the XML import, built twice: xml_sample_import_fuzz starts
// from sample files, xdr_schema_import_fuzz from XDR schemas (the import
// tells the two apart by content). Each input is imported as a file into a
// new document, as the command does, and the document is then closed.
//   xdr_schema_import_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=10
//       -dict=xdr.dict <work folder> seeds/xdr_schema_import_fuzz

#include "designer/document/DesignerDoc.h"
#include "tests/fuzz/DesignerFuzzEnvironment.h"

using namespace kwvd::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    DesignerFuzzEnvironment::Get();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = DesignerFuzzEnvironment::InputFile(QStringLiteral("input.xml"), data, size);
    CDesignerDoc doc;
    if (!doc.OnNewDocument())
        return 0;
    CDocChangeGuard change(&doc);
    CDesignerDoc::ImportXmlFile(&doc, path);
    return 0;
}
