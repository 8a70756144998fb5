#include "designer/resources/ui/FontDialogTexts.h"

#include "designer/resources/ui/AS400FontAddDialog.h"
#include "designer/resources/ui/AS400FontDialog.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

void RegisterFontDialogTexts()
{
    using Font = CAS400FontDialog;
    using Add = CAS400FontAddDialog;
    static const StringTable::Entry entries[] = {
        {DialogTextId(Font::IDD, 0), "Font"},
        {DialogTextId(Font::IDD, Font::IDC_TYPEFACE), "&Font"},
        {DialogTextId(Font::IDD, Font::IDC_STYLE), "Font st&yle:"},
        {DialogTextId(Font::IDD, Font::IDC_SIZE), "&Size:"},
        {DialogTextId(Font::IDD, Font::IDC_SAMPLE), "Sample"},
        {DialogTextId(Font::IDD, Font::IDC_DOCUMENT_FONTS), "Current Document Fonts"},
        {DialogTextId(Font::IDD, Font::IDC_ALL_FONTS), "All Fonts"},
        {DialogTextId(Font::IDD, Font::IDC_DBCS), "DBCS Font"},
        {DialogTextId(Font::IDD, Font::IDC_DEFAULT_FONT), "&Default Font"},
        {DialogTextId(Font::IDD, Font::IDC_ADD), "&Add..."},
        {DialogTextId(Font::IDD, Font::IDC_REMOVE), "&Remove"},
        {DialogTextId(Font::IDD, Font::IDC_EDIT), "&Edit"},
        {DialogTextId(Font::IDD, Font::IDC_OK), "OK"},
        {DialogTextId(Font::IDD, Font::IDC_CANCEL), "Cancel"},
        {DialogTextId(Font::IDD, Font::IDC_FONTS_USED), "Fonts used in Document:"},
        {DialogTextId(Font::IDD, Font::IDC_MAX_FONTS), "Maximum fonts allowed:"},
        {DialogTextId(Font::IDD, Font::IDC_FONT_INDEX), "Font Index:"},
        {DialogTextId(Font::IDD, Font::IDC_DOWNLOADABLE), "Downloadable"},
        {DialogTextId(Font::IDD, Font::IDC_PRINTER_RESIDENT), "Printer Resident"},
        // The display group's label has no control of its own.
        {DialogTextId(Font::IDD, 0xFFFF), "Display:"},

        {DialogTextId(Add::IDD, Add::IDC_BOLD), "Bold"},
        {DialogTextId(Add::IDD, Add::IDC_CHARSET_NAME), "IBM Character Set ID:"},
        {DialogTextId(Add::IDD, Add::IDC_ITALIC), "Italic"},
        {DialogTextId(Add::IDD, Add::IDC_FAMILY_NAME), "Family Name:"},
        {DialogTextId(Add::IDD, Add::IDC_STRIKEOUT), "Strikethough"},
        {DialogTextId(Add::IDD, Add::IDC_UNDERLINE), "Underline"},
        {DialogTextId(Add::IDD, Add::IDC_FGID), "Font Group ID:"},
        {DialogTextId(Add::IDD, Add::IDC_LIBRARY), "Server Library or group:"},
        {DialogTextId(Add::IDD, Add::IDC_CODE_PAGE_ID), "Code Page ID:"},
        {DialogTextId(Add::IDD, Add::IDC_CHARACTER_ID), "Character ID:"},
        {DialogTextId(Add::IDD, Add::IDC_WIDTH), "Width:"},
        {DialogTextId(Add::IDD, Add::IDC_HEIGHT), "Height:"},
        {DialogTextId(Add::IDD, Add::IDC_STYLE), "Style:"},
        {DialogTextId(Add::IDD, Add::IDC_CODE_PAGE_NAME), "IBM Code Page:"},
        {DialogTextId(Add::IDD, Add::IDC_CODED_FONT_NAME), "IBM Coded Font ID:"},
        {DialogTextId(Add::IDD, Add::IDC_DBCS), "DBCS Font"},
        {DialogTextId(Add::IDD, Add::IDC_OK), "OK"},
        {DialogTextId(Add::IDD, Add::IDC_CANCEL), "Cancel"},
        {DialogTextId(Add::IDD, Add::IDC_ADD), "&Add"},
        // The groups, numbered above the controls.
        {DialogTextId(Add::IDD, 0xFFF0), "General"},
        {DialogTextId(Add::IDD, 0xFFF1), "Downloadable Font Data"},
        {DialogTextId(Add::IDD, 0xFFF2), "PC Emulation"},
        {DialogTextId(Add::IDD, 0xFFF3), "Attributes"},
        {DialogTextId(Add::IDD, 0xFFF4), "Printer Resident Font Data"},
        {DialogTextId(Add::IDD, Add::ID_FONT_IMPORT), "Import..."},
        {DialogTextId(Add::IDD, Add::ID_FONT_EXPORT), "Export..."},
    };
    StringTable::Add(entries);
}
