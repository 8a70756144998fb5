#include "designer/resources/barcodes/BarcodeStrings.h"

#include "platform/ui/StringTable.h"

void RegisterBarcodeStrings()
{
    static const StringTable::Entry entries[] = {
        {IDS_BARCODE_JVX_VERSION,
         "JVX Version %1!d! does not support exporting of barcode information. \n"
         "Either manually create the barcodes on the Server or export using JVX Version 11 or higher.\n"
         "Exporting will continue without barcode information."},
        {IDS_BARCODE_MAXIMUM,
         "Maximum barcodes already selected.The document can have a maximum of %1!d! different barcodes."},
        // The settings dialog's.
        {IDS_DELETE_MASTER_BARCODE,
         "Warning:\n  This Barcode may be used in other documents.  Deleting will remove it completely from this "
         "system.  Do you want to continue ?"},
        {IDS_MASTER_BARCODE_READ_ERROR, "Error reading master barcode file: %1"},
        {IDS_MASTER_BARCODE_SAVE_ERROR, "Error saving master master barcode file: %1"},
    };
    StringTable::Add(entries);
}
