#include "designer/resources/images/ImageStrings.h"

#include "platform/ui/StringTable.h"

void RegisterImageStrings()
{
    static const StringTable::Entry entries[] = {
        {IDS_IMAGE_SUBSTITUTE, "The file '%1' was not found.  Would you like to substitute it with the file '%2' ?"},
        {IDS_RESOURCE_FILE_NOT_FOUND, "Cannot find file \"%1\"."},
        {IDS_IMAGE_SERVER_NAME,
         "The Image file name \"%1\" is not a valid Server file name.  The file name \"%2\" will be used instead."},
        {IDS_IMAGE_FILE_INVALID, "Image File: %1 Invalid."},
        {IDS_IMAGE_VECTOR_FORMAT, "Image File: %1 Vector format not acceptable."},
        {IDS_RESOURCE_JVX_VERSION,
         "JVX Version %1!d! does not support exporting of Resources information. \n"
         "Either manually create the Resources on the Server or export using JVX Version 18 or higher.\n"
         "Exporting will continue without Resource information."},
        {IDS_RESOURCE_MAXIMUM,
         "Maximum Resources already selected.The document can have a maximum of %1!d! different Resources."},
        {IDS_IMAGE_SERVER_NAME_CLASH,
         "Images %1 and %2 would both be written to the host as %3. Rename one of them and export again."},
    };
    StringTable::Add(entries);
}
