// The option block: its lookup and how entries are added.

#include "filters/common/OptionBlock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

using namespace kwvd::filters;

namespace {

std::string Text(const OptionBlock* block)
{
    return std::string(reinterpret_cast<const char*>(block->bytes + 12));
}

std::uint32_t Field(const OptionBlock* block, int offset)
{
    std::uint32_t v;
    std::memcpy(&v, block->bytes + offset, 4);
    return v;
}

} // namespace

TEST(OptionBlock, NewBlockHoldsTheTextUpperCased)
{
    OptionBlock* block = OptionBlockCreate("\rFileName = /tmp/a.qdx");
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(std::memcmp(block->bytes, "THK\0", 4), 0);
    EXPECT_EQ(Text(block), "\rFILENAME = /TMP/A.QDX");
    EXPECT_EQ(Field(block, 8), 23u);     // with its zero
    EXPECT_EQ(Field(block, 4), 22u + 5); // size text + 15, capacity size - 10
    OptionBlockFree(block);

    OptionBlock* empty = OptionBlockCreate(nullptr);
    EXPECT_EQ(Field(empty, 4), 55u);
    EXPECT_EQ(Field(empty, 8), 1u);
    OptionBlockFree(empty);
}

TEST(OptionBlock, LookupFindsKeysAsTheFiltersExpect)
{
    struct Case
    {
        const char* name;
        const char* text;
        const char* key;
        int result;
        const char* value;
    };
    const Case cases[] = {
        {"key compared upper-cased", "\rPNG_FILTER = SUB", "png_filter", kOptionFound, "SUB"},
        {"substring match", "\rXPNG_FILTER = UP", "PNG_FILTER", kOptionFound, "UP"},
        {"first occurrence counts", "\rA = 1\rA = 2", "A", kOptionFound, "1"},
        {"value ends at the next CR", "\rPNG_FILTER = SUB\rPNG_COMPRESS = NONE", "PNG_FILTER", kOptionFound, "SUB"},
        {"last entry ends at the text end", "\rA = 1\rLOSSY_QUALITY = 75", "LOSSY_QUALITY", kOptionFound, "75"},
        {"empty value", "\rK = ", "K", kOptionFound, ""},
        {"nothing after the equals sign", "\rK =", "K", kOptionFound, ""},
        {"missing key", "\rA = 1", "B", kOptionNotFound, ""},
        {"key without its equals sign", "\rAB", "AB", kOptionNotFound, ""},
        {"empty block", nullptr, "A", kOptionNotFound, ""},
        {"value longer than the buffer", "\rA = 0123456789ABCDEF", "A", kOptionValueTooLong, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OptionBlock* block = OptionBlockCreate(c.text);
        char value[16] = "unchanged";
        EXPECT_EQ(OptionBlockGet(block, c.key, value, sizeof value), c.result);
        if (c.result == kOptionFound) {
            EXPECT_STREQ(value, c.value);
        }
        OptionBlockFree(block);
    }
}

TEST(OptionBlock, LookupRefusesBlocksThatAreNotWellFormed)
{
    struct Case
    {
        const char* name;
        int offset;
        std::uint32_t value;
    };
    const Case cases[] = {
        {"no THK mark", 0, 0x00585858},
        {"capacity beyond the allocation", 4, 0x7FFFFFFF},
        {"length beyond the capacity", 8, 1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OptionBlock* block = OptionBlockCreate("\rA = 1");
        std::memcpy(block->bytes + c.offset, &c.value, 4);
        char value[16];
        EXPECT_EQ(OptionBlockGet(block, "A", value, sizeof value), kOptionNotFound);
        EXPECT_FALSE(OptionBlockAdd(block, "B", "2"));
        OptionBlockFree(block);
    }
    char value[4];
    EXPECT_EQ(OptionBlockGet(nullptr, "A", value, sizeof value), kOptionNotFound);
}

TEST(OptionBlock, AddingReplacesTheKeyAndGrowsTheBlock)
{
    struct Case
    {
        const char* name;
        const char* text;
        const char* key;
        const char* value;
        const char* expected;
    };
    const Case cases[] = {
        {"into an empty block", nullptr, "png_filter", "up", "\rPNG_FILTER = UP"},
        {"appended", "\rA = 1", "B", "2", "\rA = 1\rB = 2"},
        {"replaces a middle entry", "\rA = 1\rB = 2\rC = 3", "B", "9", "\rA = 1\rC = 3\rB = 9"},
        {"replaces the last entry", "\rA = 1\rB = 2", "B", "9", "\rA = 1\rB = 9"},
        {"replaces the only entry", "\rA = 1", "A", "22", "\rA = 22"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OptionBlock* block = OptionBlockCreate(c.text);
        ASSERT_TRUE(OptionBlockAdd(block, c.key, c.value));
        EXPECT_EQ(Text(block), c.expected);
        EXPECT_EQ(Field(block, 8), std::strlen(c.expected) + 1);
        EXPECT_LE(Field(block, 4) + 12, block->size);
        OptionBlockFree(block);
    }

    OptionBlock* block = OptionBlockCreate("\rA = 1");
    const std::uint32_t capacity = Field(block, 4);
    const std::string longValue(100, 'v');
    ASSERT_TRUE(OptionBlockAdd(block, "LONG", longValue.c_str()));
    EXPECT_EQ(Field(block, 4), capacity + 4 + 100 + 55);
    char value[128];
    ASSERT_EQ(OptionBlockGet(block, "LONG", value, sizeof value), kOptionFound);
    EXPECT_EQ(std::string(value), std::string(100, 'V'));
    ASSERT_EQ(OptionBlockGet(block, "A", value, sizeof value), kOptionFound);
    EXPECT_STREQ(value, "1");
    OptionBlockFree(block);
}

TEST(OptionBlock, GrowingABlockAllocatedBeyondItsCapacityKeepsItsBytes)
{
    // A block whose allocation is larger than its capacity field says.
    OptionBlock* block = OptionBlockCreate("\rA = 1");
    const std::size_t larger = block->size + 64;
    block->bytes = static_cast<std::uint8_t*>(std::realloc(block->bytes, larger));
    std::memset(block->bytes + block->size, 0, larger - block->size);
    block->size = larger;
    ASSERT_TRUE(OptionBlockAdd(block, "KEY", "VALUE"));
    EXPECT_EQ(Text(block), "\rA = 1\rKEY = VALUE");
    EXPECT_EQ(block->size, larger);
    OptionBlockFree(block);
}
