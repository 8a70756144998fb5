#include "hostaccess/import/ImportStrings.h"

#include "hostaccess/import/SelSpooledFileDialog.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

void RegisterImportStrings()
{
    using Dialog = CSelSpooledFileDialog;
    const auto text = [](UINT control) { return DialogTextId(Dialog::IDD, control); };
    const StringTable::Entry entries[] = {
        {text(0), "Select Spooled File"},
        {text(Dialog::IDC_SYSTEM), "System Name:"},
        {text(Dialog::IDC_OUTPUT_QUEUE), "Output Queue:"},
        {text(Dialog::IDC_LIBRARY), "Library:"},
        {text(Dialog::IDC_TOTAL_FILES), "Total Files:"},
        {text(Dialog::IDC_USER_ID), "User ID:"},
        {text(Dialog::IDC_FIRST_PAGE), "First Page:"},
        {text(Dialog::IDC_MAXIMUM_PAGES), "Maximum Pages:"},
        {text(Dialog::IDC_USER), "User:"},
        {text(Dialog::IDC_USER_DATA), "User Data:"},
        {text(Dialog::IDC_CODE_PAGE), "Code Page:"},
        {text(Dialog::IDC_REFRESH), "&Refresh"},
        {text(Dialog::IDC_OK), "OK"},
        {text(Dialog::IDC_CANCEL), "Cancel"},
        {IDS_MERROW_NO_PAGE_IN_RANGE,
         "No pages were imported: the spooled file has %1!d! page(s), and the first page asked for was %2!d!."},
        {IDS_MERROW_RAW_SAVE_FAILED,
         "The spooled file's data could not be saved to \"%1\". An existing file of that name was left as it was."},
    };
    StringTable::Add(entries);
}
