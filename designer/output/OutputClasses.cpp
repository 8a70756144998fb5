#include "designer/output/OutputClasses.h"

#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/output/OutputDeviceOffsetsPreset.h"
#include "designer/output/OutputDeviceOffsetsPresetList.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

#include <span>

void RegisterOutputClasses()
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(COutputDevice));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(COutputDeviceManager));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(COutputDeviceOffsetsPreset));
}

namespace {

// The entries of a list stand in the dialog's texts under this plus the
// list's control id, beside the list's own label.
constexpr UINT kListItems = kDeviceListItemsBase;

// One text of the same control in several dialogs.
struct DialogLabel
{
    UINT control;
    const char* text;
    std::initializer_list<UINT> dialogs;
};

void AddDialogLabels(std::span<const DialogLabel> labels)
{
    for (const DialogLabel& label : labels) {
        for (const UINT dialog : label.dialogs)
            StringTable::Add(DialogTextId(dialog, label.control), QString::fromUtf8(label.text));
    }
}

// The "Page" pages of the device settings sheets: print 153, fax 145,
// e-mail 141, file 149, document store 176.
void RegisterPagePageTexts()
{
    static const DialogLabel labels[] = {
        {0, "Page", {153, 145, 141, 149, 176}},
        {0xFF01, "First page of new document", {153, 145, 141, 149, 176}},
        {kListItems + 1283, "Equal To\nNot Equal To", {153, 145, 141, 149, 176}},
        {1312, "Compare data text:", {153, 145, 141, 149, 176}},
        {1325, "And position", {153, 145, 141, 149, 176}},
        {1311, "Or compare data position:", {153, 145, 141, 149, 176}},
        {1279, "Column:", {153, 145, 141, 149, 176}},
        {1281, "Width:", {153, 145, 141, 149, 176}},
        {1277, "Line:", {153, 145, 141, 149, 176}},
        {1298, "Start printing on line:", {149, 176}},
        {0xFF02, "Cover page", {145, 141, 149}},
        {1272, "Logo:", {145, 141, 149}},
        {1306, "Signature:", {145, 141, 149}},
    };
    AddDialogLabels(labels);
}

// The "General" pages of the device settings sheets: *SCS 154, *AFP 136,
// *HPT 150, fax 144, e-mail 140, file 148, document store 177. A list's
// entries are under 0x8000 plus its control id, apart from its label.
void RegisterGeneralPageTexts()
{
    constexpr UINT groupCaption = 0xFF01;
    static const DialogLabel labels[] = {
        {0, "General", {154, 136, 150, 144, 140, 148, 177}},
        {1286, "Printer device:", {154, 136, 150}},
        {kListItems + 1286, "*JOB", {154, 136, 150}},
        {1321, "Print output queue:", {154, 136, 150}},
        {kListItems + 1321, "*DEV\n*JOB\n*USR", {154, 136, 150}},
        {1320, "Library:", {154, 136, 150}},
        {1303, "User data:", {154, 136, 150}},
        {1288, "Form:", {154, 136, 150}},
        {1290, "Hold printfile", {154, 136, 150}},
        {1300, "Save printfile", {154, 136, 150}},
        {1231, "Drawer:", {154, 136, 150}},
        {1214, "Copies:", {154, 136, 150}},
        // The radio button beside the number has no text of its own.
        {1215, "", {154, 136, 150}},
        {1216, "From Input Spooled File", {154, 136, 150}},
        {1273, "Lines per inch:", {154}},
        {kListItems + 1273, "3\n4\n6\n8\n9\n12\n*DOC", {154}},
        {1217, "Characters per inch:", {154}},
        {kListItems + 1217, "5\n10\n12\n13.3\n15\n16.7\n18\n20\n*DOC", {154}},
        {1289, "Page Height:", {154}},
        {1305, "Rotation:", {154}},
        {kListItems + 1305, "*AUTO\n*DEVD\n0\n90\n*DOC", {154}},
        {1298, "Start printing on line:", {154, 144, 140}},
        {1276, "Name:", {154, 136, 150, 144, 140, 148, 177}},
        {1291, "Page Width:", {154}},
        {1212, "PDF DataStream", {136}},
        {1296, "Rotation:", {136, 150, 144, 140}},
        {1287, "Font Group:", {136, 150, 144}},
        {1297, "Printer Resource:", {136}},
        {1233, "Duplex Printing:", {136}},
        {kListItems + 1233, "*YES\n*NO\n*TUMBLE\n*FORMDF", {136}},
        {1232, "Duplex Printing:", {150}},
        {kListItems + 1232, "*YES\n*NO\n*TUMBLE\n*FORMDF", {150}},
        {groupCaption, "Offsets:", {150}},
        {1244, "...", {150}},
        {1293, "No Print Border:", {150}},
        {1230, "Spooled File Status:", {144, 140}},
        {kListItems + 1230, "*DLT\n*SAV\n*HLD", {144, 140}},
        {1236, "Fax form file name:", {144}},
        {1237, "Library:", {144}},
        {1238, "Member:", {144}},
        {1299, "Priority:", {144, 140}},
        {kListItems + 1299, "Hold\nLow\nNormal\nHigh", {144, 140}},
        {1284, "Public Authority:", {144, 140}},
        {kListItems + 1284, "Normal\nNone\nAll", {144, 140}},
        {1316, "Transmission mode:", {144}},
        {kListItems + 1316, "*NORMAL\n*FINE", {144}},
        {groupCaption, "Attachment File", {140}},
        {1211, "Name:", {140}},
        {1210, "Format:", {140}},
        {kListItems + 1210, "PDF\nTXT\nSCS", {140}},
        {1209, "Extension:", {140}},
        {1208, "CCSID/Codepage:", {140}},
        {groupCaption, "File", {148, 177}},
        {1266, "Path:", {148, 177}},
        {1245, "Name:", {148, 177}},
        {1243, "Format:", {148, 177}},
        {kListItems + 1243, "PDF\nTXT\nSCS", {148, 177}},
        {1242, "Extension:", {148, 177}},
        {1239, "CCSID/Codepage:", {148, 177}},
        {1240, "Owner:", {148, 177}},
        {1241, "Authorization List:", {148, 177}},
        {1297, "Public Authority:", {148, 177}},
        {kListItems + 1297, "*NONE\n*RWX\n*RX\n*RW\n*WX\n*R\n*W\n*X\n*EXCLUDE\n*AUTL", {148, 177}},
    };
    AddDialogLabels(labels);
    // The copies check of the print pages.
    StringTable::Add(309, QStringLiteral("Please enter an integer between %1!d! and %2!d!."));
}

// What the document-store "General" page, 177, has beyond the file page's
// texts.
void RegisterDocStoreGeneralPageTexts()
{
    static const DialogLabel labels[] = {
        {1461, "DocStore:", {177}},
        {1460, "Refresh", {177}},
        {1462, "Document Type:", {177}},
        {1483, "Description:", {177}},
    };
    AddDialogLabels(labels);
}

// The destination pages (151 print, 143 fax, 139 e-mail) and the address
// pages (142 fax, 138 e-mail) of the device settings sheets.
void RegisterDestinationAndAddressPageTexts()
{
    static const DialogLabel labels[] = {
        {0, "Exit Program", {151}},
        {0, "Destination", {143, 139}},
        {0xFF01, "Destination from spooled file", {151, 143, 139}},
        {1309, "Destination text:", {151, 139}},
        {1309, "Scan for text:", {143}},
        {1308, "Or destination position:", {151, 143, 139}},
        {1220, "Column:", {151, 143, 139}},
        {1222, "Width:", {151, 143, 139}},
        {1218, "Line:", {151, 143, 139}},
        {1224, "Destination Type:", {151, 143, 139}},
        {kListItems + 1224, "None\nOutput Queue\nOutput Queue (Delete)\nExit Program\nExit Program (Delete)", {151}},
        {kListItems + 1224,
         "None\nFax Number\nFax Number (Delete)\nDirectory Entry\nDirectory Entry (Delete)\nExit Program\n"
         "Exit Program (Delete)\nFax Number (R Align)\nFax Number (R Align Delete)",
         {143}},
        {kListItems + 1224,
         "None\nEmail Address\nEmail Address (Delete)\nDirectory Entry\nDirectory Entry (Delete)\nExit Program\n"
         "Exit Program (Delete)",
         {139}},
        {1228, "Exit Program:", {151, 143, 139}},
        {1229, "Library:", {151, 143, 139}},
        {1234, "Confirmation Type:", {139}},
        {kListItems + 1234, "None\nUser Defined\nDelivery Receipt\nRead Receipt", {139}},
        {0, "Address", {142, 138}},
        {1235, "Envelope type:", {138}},
        {1268, "From:", {142, 138}},
        {1313, "To:", {142, 138}},
        {1213, "Attention:", {142}},
        {1304, "Reference:", {142}},
        {1304, "Subject:", {138}},
        {1213, "Message:", {138}},
        {1317, "User name:", {142, 138}},
        {1319, "User ID:", {142, 138}},
        {1318, "User Address:", {142, 138}},
        {1226, "Department:", {142, 138}},
        {1315, "Transparency on:", {142}},
        {1314, "Transparency off:", {142}},
        {1267, "From Email:", {138}},
        {1295, "Postmaster Email:", {138}},
    };
    AddDialogLabels(labels);
    static const StringTable::Entry entries[] = {
        {273, "Exit Program field cannot be empty when Destination Type is 'Exit Program'."},
    };
    StringTable::Add(entries);
}

// The exit program parameter pages: file 146 and 147, document store 175
// and 178. The document-store pages' labels are statics that the page
// fills from the device; these are their texts until it does.
void RegisterExitProgramParameterPageTexts()
{
    static const DialogLabel labels[] = {
        {0, "Exit Program", {146}},
        {0, "Parameters (Short)", {147, 178}},
        {0, "Parameters", {175}},
        {1240, "Exit Program:", {146, 178}},
        {1241, "Library:", {146, 178}},
        // The group of the short parameters has no id of its own.
        {0xFF01, "Short Parameters (max 64 chars)", {147, 178}},
    };
    AddDialogLabels(labels);
    for (UINT n = 1; n <= 20; ++n) {
        const QString text = QStringLiteral("Parameter %1:").arg(n);
        const UINT edit = 1245 + n;
        StringTable::Add(DialogTextId(n <= 10 ? 146 : 147, edit), text);
        if (n <= 10)
            StringTable::Add(DialogTextId(175, 1463 + n), text);
        else if (n <= 18)
            StringTable::Add(DialogTextId(178, 1464 + n), text);
    }
}

// Dialog 152 "Printer Offsets" and its presets file.
void RegisterPrinterOffsetsStrings()
{
    constexpr UINT dialog = 152;
    static const StringTable::Entry entries[] = {
        {IDS_OFFSETS_PRESETS_FILE_NAME, "WvdOutdOffsetsPresets.dat"},
        {IDS_OFFSETS_PRESETS_READ_ERROR, "Error reading file: %1."},
        {IDS_OFFSETS_PRESETS_SAVE_ERROR, "Error saving file: %1."},
        {IDS_OFFSETS_PRESET_NOT_DELETABLE, "This preset is read only and cannot be deleted."},
        {IDS_OFFSETS_PRESET_NOT_MODIFIABLE, "This preset is read only and cannot be modified."},
        {IDS_OFFSETS_PRESETS_FILE_KEPT,
         "The printer offsets file %1 could not be read. It was kept as %2 and a new one was started."},
        {DialogTextId(dialog, 0), "Printer Offsets"},
        {DialogTextId(dialog, 1330), "Portrait"},
        {DialogTextId(dialog, 1331), "Landscape"},
        {DialogTextId(dialog, 1291), "Move Image right:"},
        {DialogTextId(dialog, 1292), "Move Image down:"},
        {DialogTextId(dialog, 1301), "Move Text right:"},
        {DialogTextId(dialog, 1302), "Move Text down:"},
        {DialogTextId(dialog, 1270), "Move Image right:"},
        {DialogTextId(dialog, 1271), "Move Image up:"},
        {DialogTextId(dialog, 1274), "Move Text right:"},
        {DialogTextId(dialog, 1275), "Move Text down:"},
        {DialogTextId(dialog, 1323), "&Add"},
        {DialogTextId(dialog, 1324), "&Del"},
        {DialogTextId(dialog, 1), "OK"},
        {DialogTextId(dialog, 2), "Cancel"},
    };
    StringTable::Add(entries);
}

// Dialog 155 "Output", the choice of an Output element's device, and its
// messages. 0xFF01 and 0xFF02 are the "Name:" and "Type:" labels.
void RegisterOutputDeviceDialogTexts()
{
    static const DialogLabel labels[] = {
        {0, "Output", {155}},     {1331, "Default", {155}}, {1332, "Select", {155}}, {0xFF01, "Name:", {155}},
        {0xFF02, "Type:", {155}}, {1326, "&Add", {155}},    {1328, "&Del", {155}},   {1327, "&Settings", {155}},
        {1, "OK", {155}},         {2, "Cancel", {155}},
    };
    AddDialogLabels(labels);
    static const StringTable::Entry entries[] = {
        {245, "Warning:\n  This Output Device may be used in other documents.  Deleting will remove it completely from "
              "this system.  Do you want to continue ?"},
        {331, "This Output Device is in use."},
    };
    StringTable::Add(entries);
}

// The captions of the device settings sheets.
void RegisterSettingsSheetTexts()
{
    static const StringTable::Entry entries[] = {
        {341, "Output Device (%1)"},   {279, "Output Device (*FAX)"},     {272, "Output Device (*EML)"},
        {280, "Output Device (*FIL)"}, {369, "Output Device (DocStore)"},
    };
    StringTable::Add(entries);
}

} // namespace

void RegisterOutputStrings()
{
    RegisterPagePageTexts();
    RegisterGeneralPageTexts();
    RegisterDocStoreGeneralPageTexts();
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
    RegisterDestinationAndAddressPageTexts();
    RegisterPrinterOffsetsStrings();
    RegisterSettingsSheetTexts();
    RegisterExitProgramParameterPageTexts();
    RegisterOutputDeviceDialogTexts();
}
