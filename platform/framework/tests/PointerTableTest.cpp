#include "platform/framework/PointerTable.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <vector>

namespace {

TEST(PointerTable, KeepsTheFirstValueOfEachAddress)
{
    int a = 0;
    int b = 0;
    kwvd::PointerTable<unsigned> table;
    EXPECT_EQ(table.Find(&a), nullptr) << "an empty table finds nothing";

    EXPECT_TRUE(table.Insert(&a, 7));
    EXPECT_TRUE(table.Insert(&b, 9));
    EXPECT_FALSE(table.Insert(&a, 8)) << "an address added again";

    ASSERT_NE(table.Find(&a), nullptr);
    EXPECT_EQ(*table.Find(&a), 7u);
    ASSERT_NE(table.Find(&b), nullptr);
    EXPECT_EQ(*table.Find(&b), 9u);
    EXPECT_EQ(table.Size(), 2u);
}

TEST(PointerTable, TheNullAddressIsNeverAKey)
{
    kwvd::PointerTable<unsigned> table;
    EXPECT_FALSE(table.Insert(nullptr, 1));
    EXPECT_EQ(table.Find(nullptr), nullptr);
    EXPECT_EQ(table.Size(), 0u);
}

TEST(PointerTable, EveryEntryStaysFoundAsTheTableGrows)
{
    // Neighbouring objects, as a document's elements often are, and more
    // of them than the first block holds.
    std::vector<double> objects(5000);
    for (const bool reserved : {false, true}) {
        SCOPED_TRACE(reserved ? "reserved first" : "grown entry by entry");
        kwvd::PointerTable<size_t> table;
        if (reserved)
            table.Reserve(objects.size());
        for (size_t i = 0; i < objects.size(); ++i)
            ASSERT_TRUE(table.Insert(&objects[i], i));
        EXPECT_EQ(table.Size(), objects.size());
        for (size_t i = 0; i < objects.size(); ++i) {
            const size_t* found = table.Find(&objects[i]);
            ASSERT_NE(found, nullptr) << "entry " << i;
            EXPECT_EQ(*found, i);
        }
        const double outside = 0;
        EXPECT_EQ(table.Find(&outside), nullptr);
    }
}

} // namespace
