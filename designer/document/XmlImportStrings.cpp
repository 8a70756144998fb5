#include "designer/document/XmlImportStrings.h"

#include "platform/ui/StringTable.h"

void RegisterXmlImportStrings()
{
    static constexpr StringTable::Entry kEntries[] = {
        {IDS_XML_SCHEMA_TOO_LARGE,
         "Error loading Xml Schema %1.\nThe schema describes more than %2!d! elements. Nothing was imported."},
    };
    StringTable::Add(kEntries);
}
