#pragma once
// The barcode symbologies a host printer draws, by their number in the
// host's barcode architecture, and the modifiers each offers. A definition
// stores a row's position, never its id; the JVX file carries the id as two
// hex digits.

#include "platform/framework/Types.h"

#include <QString>

#include <array>
#include <span>

struct BarcodeType
{
    BYTE id;
    int minLength;
    int maxLength;
    const char16_t* name;

    // The id as two upper-case hex digits; empty for an id not in the table.
    static QString GetHexCode(BYTE id);
};

struct BarcodeModifier
{
    BYTE code = 0;
    QString text; // empty: the entry does not exist for the user
};

inline constexpr int kBarcodeTypeCount = 25;
inline constexpr int kBarcodeModifierCount = 9;

using BarcodeModifierList = std::array<BarcodeModifier, kBarcodeModifierCount>;

// The 25 rows in the order lists show them.
std::span<const BarcodeType> BarcodeTypeTable();

// The modifier entries of a type index; all empty outside 0..24.
BarcodeModifierList BarcodeModifiersOf(int typeIndex);
