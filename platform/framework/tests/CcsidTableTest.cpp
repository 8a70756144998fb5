// The host code-page table: its rows as the code-page lists show them and the
// double-byte test the font list relies on.

#include "platform/framework/CcsidTable.h"

#include <gtest/gtest.h>

#include <QString>

#include <set>

namespace {

TEST(CcsidTable, HoldsSeventyTwoDistinctRowsInListOrder)
{
    const auto rows = CcsidTable();
    ASSERT_EQ(rows.size(), 72u);
    EXPECT_EQ(rows[0].ccsid, 37);
    EXPECT_EQ(rows[7].ccsid, 285);
    EXPECT_EQ(QString::fromUtf16(rows[7].description), QStringLiteral("United Kingdom"));
    EXPECT_EQ(rows[71].ccsid, 13488);

    std::set<LONG> seen;
    for (const CcsidRow& row : rows) {
        EXPECT_TRUE(seen.insert(row.ccsid).second) << row.ccsid;
        EXPECT_GE(row.group, 0) << row.ccsid;
        EXPECT_LE(row.group, 4) << row.ccsid;
    }
    // Two rows share a description and differ by number only.
    EXPECT_EQ(QString::fromUtf16(FindCcsid(37)->description), QString::fromUtf16(FindCcsid(1140)->description));
}

struct DbcsCase
{
    const char* name;
    LONG ccsid;
    BOOL doubleByte;
};

TEST(CcsidTable, GroupsTwoToFourAreDoubleByte)
{
    const DbcsCase cases[] = {
        {"Latin1", 285, FALSE},  {"OtherSingleByte", 870, FALSE}, {"LastSingleByte", 62251, FALSE},
        {"Mixed", 930, TRUE},    {"MixedLast", 5035, TRUE},       {"PureDouble", 300, TRUE},
        {"Unicode", 1200, TRUE}, {"NotInTable", 1208 + 1, FALSE}, {"Zero", 0, FALSE},
    };
    for (const DbcsCase& c : cases)
        EXPECT_EQ(IsDoubleByteCcsid(c.ccsid), c.doubleByte) << c.name;
    EXPECT_EQ(FindCcsid(12345), nullptr);
}

} // namespace
