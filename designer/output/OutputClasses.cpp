#include "designer/output/OutputClasses.h"

#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

void RegisterOutputClasses()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(COutputDevice));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(COutputDeviceManager));
}

void RegisterOutputStrings()
{
    static const StringTable::Entry entries[] = {
        {184, "Attachment Name"},
        {185, "Attention"},
        {186, "Destination"},
        {187, "Parameter1"},
        {188, "Parameter2"},
        {189, "Parameter3"},
        {190, "Parameter4"},
        {191, "Parameter5"},
        {192, "Parameter6"},
        {193, "Parameter7"},
        {194, "Parameter8"},
        {195, "Parameter9"},
        {196, "Parameter10"},
        {197, "Parameter11"},
        {198, "Parameter12"},
        {199, "Parameter13"},
        {200, "Parameter14"},
        {201, "Parameter15"},
        {202, "Parameter16"},
        {203, "Parameter17"},
        {204, "Parameter18"},
        {205, "Parameter19"},
        {206, "Parameter20"},
        {207, "File Name"},
        {208, "File Path"},
        {209, "From"},
        {210, "From Email"},
        {211, "Message"},
        {212, "First Page"},
        {213, "Reference"},
        {214, "Subject"},
        {215, "To"},
        {IDS_DEFAULT_NAME, "Default"},
        {IDS_DEFAULT_OUTPUT_DEVICE, "Default Output Device"},
        {IDS_DOC, "*DOC"},
        {IDS_MASTER_DEVICE_READ_ERROR, "Error reading master output device file: %1."},
        {IDS_MASTER_DEVICE_SAVE_ERROR, "Error saving master output device file: %1."},
        {IDS_DEVICE_NAME_ACTIVE,
         "An output device with the name %1 is already active.  Close all open WVD files and try again."},
        {IDS_DEVICE_INIT_FAILED, "Failed to initialize Output Device %1."},
        // Dialog 137, the display device's settings.
        {IDS_PORTRAIT, "Portrait"},
        {IDS_LANDSCAPE, "Landscape"},
        {DialogTextId(137, 0), "Output Device Settings - (*DSP)"},
        {DialogTextId(137, 1), "OK"},
        {DialogTextId(137, 2), "Cancel"},
        {DialogTextId(137, 9), "&Help"},
        {DialogTextId(137, 1225), "Document:"},
        {DialogTextId(137, 1227), "Folder:"},
        {DialogTextId(137, 1269), "Target Address:"},
        {DialogTextId(137, 1276), "Name:"},
        {DialogTextId(137, 1285), "PC Path to Server:"},
        {DialogTextId(137, 1287), "Font Group:"},
        {DialogTextId(137, 1294), "Port:"},
        {DialogTextId(137, 1296), "Rotation:"},
        {IDS_DOCSTORE_EXIT_PROGRAM, "STOREDOC"},
        {IDS_DOCSTORE_EXIT_LIBRARY, "*DOC"},
        {IDS_ADDRESS_DESCRIPTION, "Description"},
        {374, "File Owner"},
        {375, "File Authorization List"},
        {376, "File Public Authority"},
        {377, "PDF Owner Password"},
        {378, "PDF User Password"},
        {IDS_MASTER_DEVICE_FILE_KEPT,
         "The output device file %1 could not be read. It was kept as %2 and a new one was started."},
    };
    StringTable::Add(entries);
}
