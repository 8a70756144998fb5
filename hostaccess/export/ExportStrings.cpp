#include "hostaccess/export/ExportStrings.h"

#include "hostaccess/export/ExportSpooledFileDialog.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

void RegisterExportStrings()
{
    static const StringTable::Entry kEntries[] = {
        {IDS_MERROW_EXPORT_UNCARRIED, "The spooled file was exported, but these lines could not be written as they "
                                      "stand:"},
        {IDS_MERROW_EXPORT_UNCARRIED_LINE, "Page: %1!02d!, Line: %2!03d!: %3"},
        {IDS_MERROW_EXPORT_LINE_ZERO, "left out, lines are numbered from 1 on the host"},
        {IDS_MERROW_EXPORT_BEYOND_LAST_LINE, "left out, the host positions lines up to 255 only"},
        {IDS_MERROW_EXPORT_LINE_CUT, "cut to 379 bytes"},
        {DialogTextId(CExportSpooledFileDialog::IDD, 0), "Export Spooled File"},
        {DialogTextId(CExportSpooledFileDialog::IDD, CExportSpooledFileDialog::IDC_SYSTEM), "System Name:"},
        {DialogTextId(CExportSpooledFileDialog::IDD, CExportSpooledFileDialog::IDC_OUTPUT_QUEUE), "Output Queue:"},
        {DialogTextId(CExportSpooledFileDialog::IDD, CExportSpooledFileDialog::IDC_LIBRARY), "Library:"},
        {DialogTextId(CExportSpooledFileDialog::IDD, CExportSpooledFileDialog::IDC_FILE_NAME), "File Name:"},
        {DialogTextId(CExportSpooledFileDialog::IDD, CExportSpooledFileDialog::IDC_USER_DATA), "User Data:"},
        {DialogTextId(CExportSpooledFileDialog::IDD, CExportSpooledFileDialog::IDC_CODE_PAGE), "Code Page:"},
        {DialogTextId(CExportSpooledFileDialog::IDD, CExportSpooledFileDialog::IDC_OK), "OK"},
        {DialogTextId(CExportSpooledFileDialog::IDD, CExportSpooledFileDialog::IDC_CANCEL), "Cancel"},
    };
    StringTable::Add(kEntries);
}
