#include "designer/views/pages/ElementPageStrings.h"

#include "designer/views/pages/GeneralPropPage.h"
#include "platform/ui/DialogTextId.h"
#include "platform/ui/StringTable.h"

namespace {

using Page = CGeneralPropPage;

constexpr StringTable::Entry kStrings[] = {
    {ElementPageString::PositionAbsolute, "Position (Absolute)"},
    {ElementPageString::PositionRelative, "Position (Relative)"},
    {ElementPageString::SheetCaption, "Properties"},
    {DialogTextId(131, 0), "General"},
    {DialogTextId(131, Page::IDC_STATIC_TEXT), "No Selection."},
    {DialogTextId(Page::IDD, 0), "General"},
    {DialogTextId(Page::IDD, Page::IDC_TYPE), "Type:"},
    {DialogTextId(Page::IDD, Page::IDC_DESCRIPTION), "Description:"},
    {DialogTextId(Page::IDD, Page::IDC_COLUMN), "Column:"},
    {DialogTextId(Page::IDD, Page::IDC_COLUMN_OFFSET), "Offset:"},
    {DialogTextId(Page::IDD, Page::IDC_LINE), "Line:"},
    {DialogTextId(Page::IDD, Page::IDC_LINE_OFFSET), "Offset:"},
    {DialogTextId(Page::IDD, Page::IDC_FORCE_ABSOLUTE), "Force Absolute"},
    {DialogTextId(Page::IDD, Page::IDC_SIZE_GROUP), "Size"},
    {DialogTextId(Page::IDD, Page::IDC_WIDTH), "Width:"},
    {DialogTextId(Page::IDD, Page::IDC_HEIGHT), "Height:"},
};

} // namespace

void RegisterElementPageStrings()
{
    StringTable::Add(kStrings);
}
