#include "designer/resources/barcodes/BarcodeTypeTable.h"

namespace {

constexpr std::array<BarcodeType, kBarcodeTypeCount> kTypes = {{
    {1, 1, 31, u"3-of-9 Code, MHI/AIM USD-3"},
    {2, 1, 31, u"MSI (Modified Plessey Code"},
    {3, 11, 11, u"UPC/CGPC--Version A"},
    {5, 10, 10, u"UPC/CGPC--Version E"},
    {6, 2, 2, u"UPC--Two digit Supplemental (Periodicals)"},
    {7, 5, 5, u"UPC--Five digit Supplemental (Paperbacks)"},
    {8, 8, 8, u"EAN-8 (includes JAN-short)"},
    {9, 12, 12, u"EAN-13 (includes JAN-standard)"},
    {10, 1, 31, u"Industrial 2-of-5"},
    {11, 1, 31, u"Matrix 2-of-5"},
    {12, 1, 31, u"Interleaved 2-of-5, AIM USS-I 2/5"},
    {13, 1, 50, u"Codabar, 2-of-7, AIM USS-Codabar"},
    {17, 1, 50, u"Code 128, AIM USS-128"},
    {22, 2, 2, u"EAN Two-digit Supplemental"},
    {23, 5, 5, u"EAN Five-digit Supplemental"},
    {24, 1, 31, u"POSTNET"},
    {26, 1, 50, u"Royal Mail RM4SCC"},
    {27, 7, 50, u"Japan Postal Bar Code"},
    {28, 1, 3116, u"Data Matrix"},
    {29, 1, 138, u"MaxiCode"},
    {30, 1, 2710, u"PDF417"},
    {31, 8, 39, u"Australia Post Bar Code"},
    {32, 1, 7089, u"QR Code"},
    {33, 1, 50, u"Code 93"},
    {34, 1, 31, u"USPS Four-State"},
}};

struct ModifierRow
{
    BYTE code;
    const char16_t* text;
};

using Rows = std::span<const ModifierRow>;

constexpr ModifierRow k39[] = {{1, u"No printer generated check character"}, {2, u"Printer generated check character"}};
constexpr ModifierRow kMsi[] = {
    {1, u"No printer generated check digits"},
    {2, u"IBM modulo-10 check digit"},
    {3, u"IBM modulo-10 check digits *2"},
    {4, u"NCR modulo-11 & IBM modulo-10 check digits"},
    {5, u"IBM modulo-11 & IBM modulo-10 check digits"},
    {6, u"NCR modulo-11 & IBM modulo-10 check digits 11-"},
    {7, u"IBM modulo-11 & IBM modulo-10 check digits 11-"},
    {8, u"NCR modulo-11 & IBM modulo-10 check digits 11-"},
    {9, u"IBM modulo-11 & IBM modulo-10 check digits 11-"},
};
constexpr ModifierRow kUpcA[] = {{0, u"Generate a check digit"}};
constexpr ModifierRow kUpcE[] = {{0, u"Print the barcode"}};
constexpr ModifierRow kUpc2[] = {{0, u"Print 2 supplmental digits"}};
constexpr ModifierRow kUpc5[] = {{0, u"Print 5 supplmental digits"}};
constexpr ModifierRow kEan[] = {{0, u"Print the bar code symbol"}};
constexpr ModifierRow k2of5[] = {{1, u"No printer generated check digit"}, {2, u"Printer generated check digit"}};
constexpr ModifierRow kEan2[] = {{0, u"Print 2 add on digits"}};
constexpr ModifierRow kEan5[] = {{0, u"Print 5 add on digits"}};
constexpr ModifierRow kPostnet[] = {{0, u"POSTNET ZIP Code bar code"},
                                    {1, u"POSTNET ZIP+4 bar code"},
                                    {2, u"POSTNET Advanced bar code symbol"},
                                    {3, u"POSTNET Variable length symbol"}};
constexpr ModifierRow kPostal[] = {{0, u"Printer generated digits"}, {1, u"No Printer generated digits"}};
constexpr ModifierRow kDataMatrix[] = {{0, u"Use ECC algorithm 200"}};
constexpr ModifierRow kDefault[] = {{0, u"Default"}};
constexpr ModifierRow kPdf[] = {{0, u"Full Barcode"}, {1, u"Truncated Barcode"}};
constexpr ModifierRow kAustralia[] = {
    {1, u"Standard Customer (11)"},       {2, u"Customer 2, Table N (59)"}, {3, u"Customer 2, Table C (59)"},
    {4, u"Customer 2, Proprietary (59)"}, {5, u"Customer 3, Table N (62)"}, {6, u"Customer 3, Table C (62)"},
    {7, u"Customer 3, Proprietary (62)"}, {8, u"Reply Paid (45)"},
};
constexpr ModifierRow kQr[] = {{2, u"Model 2"}};
// The dashes are EN DASH characters.
constexpr ModifierRow kUsps[] = {{0, u"No Routing ZIP Code"},
                                 {1, u"5\u2013digit Routing ZIP Code"},
                                 {2, u"9\u2013digit Routing ZIP Code"},
                                 {3, u"11\u2013digit Routing ZIP Code"}};

Rows ModifierRowsOf(int typeIndex)
{
    switch (typeIndex) {
    case 0:
        return k39;
    case 1:
        return kMsi;
    case 2:
        return kUpcA;
    case 3:
        return kUpcE;
    case 4:
        return kUpc2;
    case 5:
        return kUpc5;
    case 6:
    case 7:
        return kEan;
    case 8:
    case 9:
    case 10:
    case 11:
    case 12:
        return k2of5;
    case 13:
        return kEan2;
    case 14:
        return kEan5;
    case 15:
        return kPostnet;
    case 16:
    case 17:
        return kPostal;
    case 18:
        return kDataMatrix;
    case 19:
    case 23:
        return kDefault;
    case 20:
        return kPdf;
    case 21:
        return kAustralia;
    case 22:
        return kQr;
    case 24:
        return kUsps;
    default:
        return {};
    }
}

} // namespace

QString BarcodeType::GetHexCode(BYTE id)
{
    for (const BarcodeType& type : kTypes) {
        if (type.id == id)
            return QStringLiteral("%1").arg(id, 2, 16, QLatin1Char('0')).toUpper();
    }
    return {};
}

std::span<const BarcodeType> BarcodeTypeTable()
{
    return kTypes;
}

BarcodeModifierList BarcodeModifiersOf(int typeIndex)
{
    BarcodeModifierList list;
    const Rows rows = ModifierRowsOf(typeIndex);
    for (size_t i = 0; i < rows.size() && i < list.size(); ++i) {
        list[i].code = rows[i].code;
        list[i].text = QString::fromUtf16(rows[i].text);
    }
    return list;
}
