#include "designer/document/SpooledFileStrings.h"

#include "platform/ui/StringTable.h"

void RegisterSpooledFileStrings()
{
    static const StringTable::Entry entries[] = {
        {IDS_SPOOLED_FILE_INVALID_FORMAT, "Spooled File: %1 has an invalid format"},
        {IDS_SPOOLED_FILE_NOT_FOUND, "Cannot find file \"%1\"."},
        {IDS_SPOOLED_FILE_SUBSTITUTE,
         "The file '%1' was not found.  Would you like to substitute it with the file '%2' ?"},
        {IDS_SPOOLED_FILE_OPEN_TITLE, "Open Spooled File"},
        {IDS_SPOOLED_FILE_PASTE_TITLE, "Replace Spooled File Text"},
        {IDS_SPOOLED_FILE_PASTE_QUESTION, "Would you like to replace the text of the current Spooled File page ?"},
        {IDS_SPOOLED_FILE_PASTE_REPLACE,
         "&Replace current page.\nReplace the text of the current Spooled File page with the contents of the "
         "clipboard."},
        {IDS_SPOOLED_FILE_PASTE_ADD,
         "&Add a new page\nAdd a new page at the end of the Spooled File, containing the contents of the "
         "clipboard."},
        {IDS_SPOOLED_FILE_APPEND_QUESTION,
         "Would you like to append this spooled file to the end of the currently loaded spooled file."},
        {IDS_SPOOLED_FILE_CODE_PAGE_QUESTION, "Would you like to change the document codepage from %1!d! to %2!d! ?"},
        {IDS_SERVER_CONTACT_FAILED, "Failed to establish contact with Server."},
    };
    StringTable::Add(entries);
}
