#include "designer/resources/fonts/FontStrings.h"

#include "platform/ui/StringTable.h"

void RegisterFontStrings()
{
    static const StringTable::Entry entries[] = {
        {IDS_FONT_DELETE_DEFAULT, "You cannot delete the default font.  Select another font as the default font "
                                  "(In File | Page Setup) and try again."},
        {IDS_FONT_DELETE_IN_USE, "Cannot delete this font.  It is in use by a currently opened document."},
        {IDS_FONT_DEFAULT_LIBRARY, "QFNTCPL"},
        {IDS_FONT_DOCUMENT_GROUP, "*DOC"},
        {IDS_FILE_READ_ERROR, "Error reading file: %1."},
        {IDS_FILE_SAVE_ERROR, "Error saving file: %1."},
        {IDS_FONT_MAXIMUM, "Maximum fonts already selected.The document can have a maximum of %1!d! different fonts."},
        {IDS_FONT_NOT_FOUND_ADD, "Font %1 was not found. Would you like to add it to the font list ?\n\n"
                                 "Yes: Add this font to the font list.\n"
                                 "No: Replace this font with a similar font from the font list."},
        {IDS_FONT_SUBSTITUTED, "The font: \"%1\"\nwill be substituted by the font: \"%2\""},
        {IDS_MASTER_FONT_READ_ERROR, "Error reading master font file: %1"},
        {IDS_MASTER_FONT_SAVE_ERROR, "Error saving master font file: %1."},
        {IDS_MASTER_FONT_FILE_KEPT, "The font file %1 could not be read. It was kept as %2 and a new one was started."},
        {IDS_FONT_ADD_TITLE, "Add Font"},
        {IDS_FONT_EDIT_TITLE, "Edit Font"},
        {IDS_FONT_CHARACTER_ID_RANGE,
         "Printer resident font details must include a valid Character ID  between 1 and 99999"},
        {IDS_FONT_CODE_PAGE_ID_RANGE, "Code Page ID must be between 1 and 99999."},
        {IDS_FONT_FGID_RANGE, "Font Group ID must be between 1 and 99999"},
        {IDS_FONT_HEIGHT_RANGE, "Font height must be blank or between 1 and 99999"},
        {IDS_FONT_WIDTH_RANGE, "Printer resident font details must include a valid Font Width between 1 and 99999"},
        {IDS_FONT_CODE_PAGE_NEEDED, "A downloadable font must have a valid IBM Code Page"},
        {IDS_FONT_FAMILY_NEEDED, "You must enter a Family Name for each font."},
        {IDS_FONT_GROUP_OR_CHARSET_NEEDED, "You must enter a Font Group ID or IBM Character Set ID for each font."},
        {IDS_FONT_LIBRARY_NEEDED, "You must enter an IBM Server Library or group for each font."},
        {IDS_FONT_SECONDARY_TITLE, "Secondary Font"},
        {IDS_FONT_REMOVE_QUESTION, "Are you sure you want to permanently remove this font from the font list ?"},
    };
    StringTable::Add(entries);
}
