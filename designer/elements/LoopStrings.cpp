#include "designer/elements/LoopStrings.h"

#include "platform/ui/StringTable.h"

void RegisterLoopStrings()
{
    static constexpr StringTable::Entry kEntries[] = {
        {IDS_LOOP_NO_DOCUMENT_END,
         "JVX Version %1!d! does not support Looping to the end of the document. \nThis feature is only available "
         "using JVX Version 13 or higher.\nLoop will be set to 'End of page'."},
    };
    StringTable::Add(kEntries);
}
