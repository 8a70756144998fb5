#pragma once
// The device types with their host codes and the titles the user sees.
// Lists of device types are filled from this table in row order, which is
// why the e-mail row comes before the fax row and the display row is last.

#include <QString>

struct OutputDeviceTypeRow
{
    int type;          // 0..7; negative ends the table
    const char* code;  // the host's keyword, written into WVD and JVX records
    const char* title; // UTF-8
};

// Rows in display order, closed by a row of type -1. Types 6 (file) and 7
// (document store) share "*FIL", so a code lookup always gives 6.
extern const OutputDeviceTypeRow OutputDeviceTypeTable[];

// The first row of that type, or null.
const OutputDeviceTypeRow* FindOutputDeviceType(int type);

// The title of the type; empty for a type not in the table.
QString OutputDeviceTypeTitle(int type);
