#include "designer/output/OutputDeviceTypeTable.h"

const OutputDeviceTypeRow OutputDeviceTypeTable[] = {
    {0, "*SCS", "Print (SCS)"}, {1, "*AFP", "Print (AFP)"}, {2, "*HPT", "Print (HPT)"},
    {4, "*EML", "Email"},       {3, "*FAX", "Fax"},         {6, "*FIL", "File"},
    {7, "*FIL", "DocStore"},    {5, "*DSP", "Display"},     {-1, "", ""},
};

const OutputDeviceTypeRow* FindOutputDeviceType(int type)
{
    if (type < 0)
        return nullptr;
    for (const OutputDeviceTypeRow* row = OutputDeviceTypeTable; row->type >= 0; ++row) {
        if (row->type == type)
            return row;
    }
    return nullptr;
}

QString OutputDeviceTypeTitle(int type)
{
    const OutputDeviceTypeRow* row = FindOutputDeviceType(type);
    return row ? QString::fromUtf8(row->title) : QString();
}
