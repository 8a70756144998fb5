#include "designer/elements/VariableStrings.h"

#include "platform/ui/StringTable.h"

void RegisterVariableStrings()
{
    static constexpr StringTable::Entry kEntries[] = {
        {IDS_VARIABLE_NAME_RESERVED,
         "Reserved variable name. Please choose another name. Reserved Names:\nPARM1-PARM6\nPAGE\nPOSITION"},
        {IDS_VARIABLE_MAXIMUM, "Maximum Variables already in Use. The Maximum is %1."},
    };
    StringTable::Add(kEntries);
}
