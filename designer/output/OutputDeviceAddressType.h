#pragma once
// One entry of the address fields a device offers: which device value an
// Address element can stand for, and the name it shows.

#include "platform/framework/Types.h"

#include <QString>

#include <vector>

struct outputDeviceAddressType
{
    QString name; // the field's name, or a document-store key's description
    QString text; // a document-store key's type description, else empty
    int code = 0; // AddressFieldCode

    // name from the string table (empty when the id is missing).
    static outputDeviceAddressType FromString(UINT stringId, int code);
    static outputDeviceAddressType Make(const QString& name, const QString& text, int code);
};

using OutputDeviceAddressTypeList = std::vector<outputDeviceAddressType>;

// Appends a copy; returns its index.
int AppendAddressType(const outputDeviceAddressType& entry, OutputDeviceAddressTypeList& list);
