#include "designer/elements/ImageElementStrings.h"

#include "platform/ui/StringTable.h"

void RegisterImageElementStrings()
{
    static constexpr StringTable::Entry kEntries[] = {
        {IDS_IMAGE_ELEMENT_NOT_FOUND, "The image file '%1' could not be found. What would you like to do?"},
        {IDS_IMAGE_ELEMENT_MISSING_TITLE, "Missing file"},
        {IDS_IMAGE_ELEMENT_BROWSE, "Browse\nSearch for the original file or a replacement."},
        {IDS_IMAGE_ELEMENT_IGNORE, "Don't worry about it.\nA placeholder will be used instead."},
        {IDS_BARCODE_ELEMENT_NO_DEFINITION, "Barcode element '%1' has no barcode definition and was not exported."},
    };
    StringTable::Add(kEntries);
}
