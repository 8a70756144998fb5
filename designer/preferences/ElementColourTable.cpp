#include "designer/preferences/ElementColourTable.h"

namespace {

const char* const kRowNames[kElementColourRows] = {
    "Source",  "Eraser",  "Static Text", "Loop",        "Conditional",   "Exit Parameter", "Variable",
    "Address", "Barcode", "Image",       "XML Element", "XML Attribute", "XML Comment",    "No Print Border",
};

ElementColourTableRows FreshTable()
{
    ElementColourTableRows rows;
    for (int i = 0; i < kElementColourRows; ++i) {
        rows[i].colour = 0;
        rows[i].name = QString::fromLatin1(kRowNames[i]).left(kElementColourNameLength);
    }
    return rows;
}

ElementColourTableRows& Table()
{
    static ElementColourTableRows table = FreshTable();
    return table;
}

} // namespace

ElementColourTableRows& ElementColourTable()
{
    return Table();
}

void ResetElementColourTable()
{
    Table() = FreshTable();
}
