#include "designer/preferences/PreferenceStrings.h"

#include "platform/ui/StringTable.h"

void RegisterPreferenceStrings()
{
    static const StringTable::Entry entries[] = {
        {IDS_MASTER_BARCODE_FILE, "wvdBarcodes.dat"},     {IDS_MASTER_FONT_FILE, "WvdFontsV2.dat"},
        {IDS_MASTER_OUTPUT_DEVICE_FILE, "wvdOutpV2.dat"}, {IDS_OUTPUT_DEVICE_OFFSETS_FILE, "WvdOutdOffsetsPresets.dat"},
        {IDS_NO_PRINT_BORDER, "No Print Border"},
    };
    StringTable::Add(entries);
}
