// Fuzz target for the document-store catalogue server's answers, parse side
// only: each input is taken as the answer to both requests, the store list
// (each store read from it) and a store's details, and the keys of each
// document type are then looked up as the index pane does.
//   catalogue_answer_fuzz -rss_limit_mb=2048 -malloc_limit_mb=256 <work folder> seeds/catalogue_answer_fuzz

#include "designer/document/XmlHttp.h"
#include "designer/resources/catalogue/DocStore.h"
#include "tests/fuzz/DesignerFuzzEnvironment.h"

#include <vector>

using namespace kwvd::fuzz;

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    DesignerFuzzEnvironment::Get();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    DesignerFuzzEnvironment::Get().Quiet();
    const XmlDocument answer = XmlDocument::Parse(reinterpret_cast<const char*>(data), size);
    if (answer.IsNull())
        return 0;
    std::vector<DocStore> stores;
    for (xmlNode* element : XmlSelectNodes(answer.AsNode(), QStringLiteral("/KWVD/docStore/store"))) {
        DocStore store;
        if (store.ReadFromXml(element))
            stores.push_back(store);
    }
    DocStore details;
    details.ReadDetails(answer);
    std::vector<DocTypeKey> keys;
    for (const DocStoreDocType& type : details.GetDocTypes())
        details.GetDocTypeKeys(type.GetName(), keys);
    return 0;
}
