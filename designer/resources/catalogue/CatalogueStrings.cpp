#include "designer/resources/catalogue/CatalogueStrings.h"

#include "platform/ui/StringTable.h"

void RegisterCatalogueStrings()
{
    static const StringTable::Entry entries[] = {
        {IDS_DOCSTORE_REQUEST_FAILED, "Failed to retrieve data from %1.\nMessage: %2"},
    };
    StringTable::Add(entries);
}
