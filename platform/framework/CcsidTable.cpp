#include "platform/framework/CcsidTable.h"

#include <array>

namespace {

constexpr std::array<CcsidRow, 72> kRows = {{
    {37, 0, u"USA, Canada, Netherlands, Portugal, Brazil, Australia, New Zealand"},
    {256, 0, u"Word Processing, Netherlands"},
    {273, 0, u"Austria, Germany"},
    {277, 0, u"Denmark, Norway"},
    {278, 0, u"Finland, Sweden"},
    {280, 0, u"Italy"},
    {284, 0, u"Spain, Latin America (Spanish)"},
    {285, 0, u"United Kingdom"},
    {297, 0, u"France"},
    {500, 0, u"Belgium, Canada, Switzerland, International Latin-1"},
    {871, 0, u"Iceland"},
    {924, 0, u"Latin-0"},
    {1140, 0, u"USA, Canada, Netherlands, Portugal, Brazil, Australia, New Zealand"},
    {1141, 0, u"Austria, Germany"},
    {1142, 0, u"Denmark, Norway"},
    {1143, 0, u"Finland, Sweden"},
    {1144, 0, u"Italy"},
    {1145, 0, u"Spain, Latin America (Spanish)"},
    {1146, 0, u"United Kingdom"},
    {1147, 0, u"France"},
    {1148, 0, u"Belgium, Canada, Switzerland, International Latin-1"},
    {1149, 0, u"Iceland"},
    {420, 1, u"Arabic (Type 4)"},
    {423, 1, u"Greek"},
    {424, 1, u"Hebrew(Type 4)"},
    {870, 1, u"Latin-2 Multilingual"},
    {875, 1, u"Greek"},
    {880, 1, u"Cyrillic Multilingual"},
    {905, 1, u"Turkey Latin-3 Multilingual"},
    {918, 1, u"Urdu"},
    {1025, 1, u"Cyrillic Multilingual"},
    {1026, 1, u"Turkey Latin-5"},
    {1097, 1, u"Farsi"},
    {1112, 1, u"Baltic Multilingual"},
    {1122, 1, u"Estonia"},
    {1123, 1, u"Ukraine"},
    {1137, 1, u"Devanagari"},
    {1153, 1, u"Latin-2 (with Euro)"},
    {1154, 1, u"Cyrillic (with Euro)"},
    {1155, 1, u"Turkey Latin-5 (with Euro)"},
    {1156, 1, u"Balitic (with Euro)"},
    {1157, 1, u"Estonia (with Euro)"},
    {1158, 1, u"Ukraine (with Euro)"},
    {4971, 1, u"Greek (with Euro)"},
    {8612, 1, u"Arabic (Type 5)"},
    {12708, 1, u"Arabic (Type 7)"},
    {62211, 1, u"Hebrew (Type 5)"},
    {62224, 1, u"Arabic (Type 6)"},
    {62235, 1, u"Hebrew (Type 6)"},
    {62245, 1, u"Hebrew (Type 10)"},
    {62251, 1, u"Arabic (Type 6)"},
    {930, 2, u"Japan Katakana/Kanji (extended) - including 4370 UDC"},
    {933, 2, u"Korea (extended) - including 1880 UDC"},
    {935, 2, u"Simplified Chinese (extended) - including 1880 UDC"},
    {937, 2, u"Traditional Chinese (extended) - including 4370 UDC"},
    {939, 2, u"Japan English/Kanji (extended) - including 4370 UDC"},
    {1364, 2, u"Korea (extended)"},
    {1388, 2, u"Simplified Chinese"},
    {1399, 2, u"Japan (with Euro)"},
    {5026, 2, u"Japan Katakana/Kanji (extended) - including 1880 UDC)"},
    {5035, 2, u"Japan English/Kanji (extended) - including 1880 UDC"},
    {300, 3, u"Japan - including 4370 user-defined characters (UDC)"},
    {834, 3, u"Korea - including 1880 UDC"},
    {835, 3, u"Traditional Chinese - including 6204 UDC"},
    {837, 3, u"Simplified Chinese - including 1880 UDC"},
    {4396, 3, u"Japan - including 1880 UDC"},
    {4930, 3, u"Korea Windows"},
    {4933, 3, u"Simplified Chinese"},
    {16684, 3, u"Japan (with Euro)"},
    {1200, 4, u"UTF-16"},
    {1208, 4, u"UTF-8 Level 3"},
    {13488, 4, u"UCS-2 Level 1"},
}};

} // namespace

std::span<const CcsidRow> CcsidTable()
{
    return kRows;
}

const CcsidRow* FindCcsid(LONG ccsid)
{
    for (const CcsidRow& row : kRows) {
        if (row.ccsid == ccsid)
            return &row;
    }
    return nullptr;
}

BOOL IsDoubleByteCcsid(LONG ccsid)
{
    const CcsidRow* row = FindCcsid(ccsid);
    return row != nullptr && row->group >= 2 && row->group <= 4 ? TRUE : FALSE;
}
