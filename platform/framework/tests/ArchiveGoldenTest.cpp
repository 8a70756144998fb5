// The archive's byte layout, written out by hand from its rules: every row is
// stored and compared byte for byte, and the hand-written bytes are read back
// and checked, so the writer and the reader are each held to the layout.

#include "ArchiveTestClasses.h"

#include <gtest/gtest.h>

#include <ostream>

#include <cstdio>
#include <memory>

namespace archive_test {
namespace {

::testing::AssertionResult SameBytes(const Bytes& actual, const Bytes& expected)
{
    if (actual == expected)
        return ::testing::AssertionSuccess();
    size_t at = 0;
    while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
        ++at;
    char where[160];
    std::snprintf(where, sizeof where,
                  "sizes %zu (actual) and %zu (expected); first difference at offset %zu: %s vs %s", actual.size(),
                  expected.size(), at, at < actual.size() ? std::to_string(actual[at]).c_str() : "end",
                  at < expected.size() ? std::to_string(expected[at]).c_str() : "end");
    return ::testing::AssertionFailure() << where;
}

struct GoldenCase
{
    const char* name;
    std::function<void(CArchive&)> store; // null: a form we read but never write
    Bytes expected;
    std::function<void(CArchive&)> loadAndCheck;
};

void PrintTo(const GoldenCase& c, std::ostream* os)
{
    *os << c.name;
}

template <class T>
GoldenCase primitive(const char* name, T value, const char* hex)
{
    return {name, [value](CArchive& ar) { ar << value; }, Hex(hex),
            [value](CArchive& ar) {
                T read{};
                ar >> read;
                EXPECT_EQ(read, value);
            }};
}

GoldenCase count(const char* name, DWORD value, const char* hex)
{
    return {name, [value](CArchive& ar) { ar.WriteCount(value); }, Hex(hex),
            [value](CArchive& ar) { EXPECT_EQ(ar.ReadCount(), value); }};
}

GoldenCase wide(const char* name, size_t length, const char* prefixHex)
{
    return {name, [length](CArchive& ar) { ar << WidePattern(length); }, Hex(prefixHex) + WidePatternBytes(length),
            [length](CArchive& ar) {
                QString text;
                ar >> text;
                EXPECT_TRUE(text == WidePattern(length)) << "length read " << text.size();
            }};
}

GoldenCase narrow(const char* name, size_t length, const char* prefixHex)
{
    return {name, [length](CArchive& ar) { ar << NarrowPattern(length); }, Hex(prefixHex) + NarrowPatternBytes(length),
            [length](CArchive& ar) {
                std::string text;
                ar >> text;
                EXPECT_TRUE(text == NarrowPattern(length)) << "length read " << text.size();
            }};
}

std::vector<GoldenCase> goldenCases()
{
    return {
        primitive<BYTE>("Byte", 0xA5, "A5"),
        primitive<WORD>("Word", 0xBEEF, "EF BE"),
        primitive<short>("ShortNegative", -2, "FE FF"),
        primitive<LONG>("LongNegative", -2, "FE FF FF FF"),
        primitive<LONG>("LongPositive", 0x01020304, "04 03 02 01"),
        primitive<DWORD>("Dword", 0x12345678u, "78 56 34 12"),
        primitive<double>("DoubleOneAndAHalf", 1.5, "00 00 00 00 00 00 F8 3F"),
        primitive<double>("DoubleMinusTwo", -2.0, "00 00 00 00 00 00 00 C0"),

        count("CountZero", 0, "00 00"),
        count("Count65534", 65534, "FE FF"),
        count("Count65535", 65535, "FF FF FF FF 00 00"),
        count("Count74565", 0x12345, "FF FF 45 23 01 00"),

        wide("WideLength0", 0, "FF FE FF 00"),
        wide("WideLength254", 254, "FF FE FF FE"),
        wide("WideLength255", 255, "FF FE FF FF FF 00"),
        wide("WideLength65533", 65533, "FF FE FF FF FD FF"),
        wide("WideLength65534", 65534, "FF FE FF FF FF FF FE FF 00 00"),

        narrow("NarrowLength0", 0, "00"),
        narrow("NarrowLength254", 254, "FE"),
        narrow("NarrowLength255", 255, "FF FF 00"),
        narrow("NarrowLength65533", 65533, "FF FD FF"),
        narrow("NarrowLength65534", 65534, "FF FF FF FE FF 00 00"),

        {"NarrowKeepsNulAndHighBytes", [](CArchive& ar) { ar << std::string("\0a\x80\xFF", 4); }, Hex("04 00 61 80 FF"),
         [](CArchive& ar) {
             std::string text;
             ar >> text;
             EXPECT_EQ(text, std::string("\0a\x80\xFF", 4));
         }},
        {"WideOutsideLatin1", [](CArchive& ar) { ar << QString::fromUtf16(u"\u00E9\u20AC"); },
         Hex("FF FE FF 02 E9 00 AC 20"),
         [](CArchive& ar) {
             QString text;
             ar >> text;
             EXPECT_TRUE(text == QString::fromUtf16(u"\u00E9\u20AC"));
         }},
        {"NarrowReadAsWideThroughWindows1252", nullptr, Hex("04 80 41 E9 81"),
         [](CArchive& ar) {
             QString text;
             ar >> text;
             EXPECT_TRUE(text == QString::fromUtf16(u"\u20ACA\u00E9\u0081"));
         }},
        {"WideReadAsNarrowThroughWindows1252", nullptr, Hex("FF FE FF 03 AC 20 41 00 3A 26"),
         [](CArchive& ar) {
             std::string text;
             ar >> text;
             EXPECT_EQ(text, "\x80"
                             "A?");
         }},

        {"NullObject", [](CArchive& ar) { ar << static_cast<const CObject*>(nullptr); }, Hex("00 00"),
         [](CArchive& ar) { EXPECT_EQ(ar.ReadObject(nullptr), nullptr); }},
        {"FirstAndSecondObjectOfAClass",
         [](CArchive& ar) {
             CTestItem first(0x1234), second(0x5678);
             ar << &first << &second;
         },
         Hex("FF FF 01 00 09 00") + Ascii("CTestItem") + Hex("34 12") + Hex("01 80 78 56"),
         [](CArchive& ar) {
             std::unique_ptr<CTestItem> first(ar.ReadObject<CTestItem>());
             std::unique_ptr<CTestItem> second(ar.ReadObject<CTestItem>());
             ASSERT_TRUE(first && second);
             EXPECT_EQ(first->m_value, 0x1234);
             EXPECT_EQ(second->m_value, 0x5678);
         }},
        {"BackReference",
         [](CArchive& ar) {
             CTestItem item(0x1234);
             ar << &item << &item;
         },
         Hex("FF FF 01 00 09 00") + Ascii("CTestItem") + Hex("34 12") + Hex("02 00"),
         [](CArchive& ar) {
             std::unique_ptr<CTestItem> first(ar.ReadObject<CTestItem>());
             EXPECT_EQ(ar.ReadObject<CTestItem>(), first.get());
         }},
        {"VersionableSchemaStoredWithoutItsFlag",
         [](CArchive& ar) {
             CTestVersioned object;
             object.m_number = 7;
             object.m_narrow = "ab";
             object.m_wide = QStringLiteral("c");
             ar << &object;
         },
         Hex("FF FF 03 00 0E 00") + Ascii("CTestVersioned") + Hex("07 00 02 61 62 FF FE FF 01 63 00"),
         [](CArchive& ar) {
             std::unique_ptr<CTestVersioned> object(ar.ReadObject<CTestVersioned>());
             ASSERT_TRUE(object);
             EXPECT_EQ(object->m_schemaFirst, 3u);
             EXPECT_EQ(object->m_number, 7);
             EXPECT_EQ(object->m_narrow, "ab");
             EXPECT_TRUE(object->m_wide == QStringLiteral("c"));
         }},
        // Holder class 1, holder 2, item class 3, item 4: an object is
        // numbered before the objects it writes.
        {"ObjectNumberedBeforeItsFields",
         [](CArchive& ar) {
             CTestHolder holder;
             holder.m_child = new CTestItem(0x1234);
             holder.m_other = &holder;
             ar << &holder << holder.m_child;
         },
         Hex("FF FF 02 00 0B 00") + Ascii("CTestHolder") + Hex("FF FF 01 00 09 00") + Ascii("CTestItem") + Hex("34 12")
             + Hex("02 00") + Hex("04 00"),
         [](CArchive& ar) {
             std::unique_ptr<CTestHolder> holder(ar.ReadObject<CTestHolder>());
             ASSERT_TRUE(holder);
             EXPECT_EQ(holder->m_other, holder.get());
             EXPECT_EQ(ar.ReadObject(nullptr), holder->m_child);
             ASSERT_NE(dynamic_cast<CTestItem*>(holder->m_child), nullptr);
         }},
        {"ObjectListWithNullAndRepeat",
         [](CArchive& ar) {
             CTestItem item(1);
             CObList list;
             list.AddTail(&item);
             list.AddTail(nullptr);
             list.AddTail(&item);
             list.Serialize(ar);
         },
         Hex("03 00 FF FF 01 00 09 00") + Ascii("CTestItem") + Hex("01 00 00 00 02 00"),
         [](CArchive& ar) {
             CObList list;
             list.Serialize(ar);
             ASSERT_EQ(list.GetCount(), 3);
             std::unique_ptr<CObject> item(list.GetHead());
             auto it = list.begin();
             EXPECT_NE(*it++, nullptr);
             EXPECT_EQ(*it++, nullptr);
             EXPECT_EQ(*it, item.get());
         }},
        {"ObjectListAsAnObject",
         [](CArchive& ar) {
             CObList list;
             ar << &list;
         },
         Hex("FF FF 00 00 07 00") + Ascii("CObList") + Hex("00 00"),
         [](CArchive& ar) {
             std::unique_ptr<CObList> list(ar.ReadObject<CObList>());
             ASSERT_TRUE(list);
             EXPECT_TRUE(list->IsEmpty());
         }},
        {"StringArray",
         [](CArchive& ar) {
             CStringArray strings;
             strings.Add(QStringLiteral("A"));
             strings.Add(QString());
             strings.Serialize(ar);
         },
         Hex("02 00 FF FE FF 01 41 00 FF FE FF 00"),
         [](CArchive& ar) {
             CStringArray strings;
             strings.Serialize(ar);
             ASSERT_EQ(strings.GetSize(), 2);
             EXPECT_TRUE(strings[0] == QStringLiteral("A"));
             EXPECT_TRUE(strings[1].isEmpty());
         }},
        {"WordArray",
         [](CArchive& ar) {
             CWordArray words;
             words.Add(1);
             words.Add(0xBEEF);
             words.Serialize(ar);
         },
         Hex("02 00 01 00 EF BE"),
         [](CArchive& ar) {
             CWordArray words;
             words.Serialize(ar);
             ASSERT_EQ(words.GetSize(), 2);
             EXPECT_EQ(words[0], 1);
             EXPECT_EQ(words[1], 0xBEEF);
         }},
    };
}

class ArchiveGoldenTest : public ::testing::TestWithParam<GoldenCase>
{
protected:
    void SetUp() override { RegisterTestClasses(); }
};

TEST_P(ArchiveGoldenTest, StoresAndLoadsTheLayout)
{
    const GoldenCase& c = GetParam();
    const int live = g_liveObjects;
    if (c.store) {
        EXPECT_TRUE(SameBytes(Store(c.store), c.expected));
    }

    LoadArchive load(c.expected);
    c.loadAndCheck(load.ar());
    EXPECT_TRUE(load.AtEnd()) << "the reader must consume exactly the stored bytes";
    EXPECT_EQ(g_liveObjects, live);
}

INSTANTIATE_TEST_SUITE_P(Layout, ArchiveGoldenTest, ::testing::ValuesIn(goldenCases()),
                         [](const auto& info) { return std::string(info.param.name); });

// Ids from 0x7FFF on take the escape: WORD 7F FF and a DWORD (with the class
// bit for a class). Each row fills ids 2..lastItem with CTestItem objects
// (class id 1), then writes two CTestOther objects (class lastItem + 1,
// objects lastItem + 2 and + 3) and references to the given ids.
struct IdBoundaryCase
{
    const char* name;
    DWORD lastItem;
    std::vector<DWORD> references;
    const char* tailHex; // everything after the items
};

void PrintTo(const IdBoundaryCase& c, std::ostream* os)
{
    *os << c.name;
}

class ArchiveIdBoundaryTest : public ::testing::TestWithParam<IdBoundaryCase>
{
protected:
    void SetUp() override { RegisterTestClasses(); }
};

Bytes wordBytes(DWORD value)
{
    return {static_cast<BYTE>(value & 0xFF), static_cast<BYTE>((value >> 8) & 0xFF)};
}

TEST_P(ArchiveIdBoundaryTest, EscapesLargeIds)
{
    const IdBoundaryCase& c = GetParam();
    const int live = g_liveObjects;

    Bytes expected = Hex("FF FF 01 00 09 00") + Ascii("CTestItem") + wordBytes(2);
    for (DWORD id = 3; id <= c.lastItem; ++id) {
        const Bytes item = Hex("01 80") + wordBytes(id);
        expected.insert(expected.end(), item.begin(), item.end());
    }
    const Bytes tail = Hex(c.tailHex);
    expected.insert(expected.end(), tail.begin(), tail.end());

    {
        std::vector<std::unique_ptr<CObject>> objects(c.lastItem + 4);
        for (DWORD id = 2; id <= c.lastItem; ++id)
            objects[id] = std::make_unique<CTestItem>(static_cast<WORD>(id));
        for (DWORD n = 1; n <= 2; ++n) {
            auto other = std::make_unique<CTestOther>();
            other->m_value = static_cast<BYTE>(n);
            objects[c.lastItem + 1 + n] = std::move(other);
        }
        const Bytes stored = Store([&](CArchive& ar) {
            for (DWORD id = 2; id <= c.lastItem + 3; ++id) {
                if (objects[id])
                    ar << objects[id].get();
            }
            for (DWORD id : c.references)
                ar << objects.at(id).get();
        });
        EXPECT_TRUE(SameBytes(stored, expected));
    }

    LoadArchive load(expected);
    std::vector<std::unique_ptr<CObject>> loaded(c.lastItem + 4);
    for (DWORD id = 2; id <= c.lastItem; ++id) {
        loaded[id].reset(load.ar().ReadObject<CTestItem>());
        ASSERT_EQ(static_cast<CTestItem*>(loaded[id].get())->m_value, static_cast<WORD>(id));
    }
    for (DWORD n = 1; n <= 2; ++n) {
        loaded[c.lastItem + 1 + n].reset(load.ar().ReadObject<CTestOther>());
        EXPECT_EQ(static_cast<DWORD>(static_cast<CTestOther*>(loaded[c.lastItem + 1 + n].get())->m_value), n);
    }
    for (DWORD id : c.references)
        EXPECT_EQ(load.ar().ReadObject(nullptr), loaded.at(id).get()) << "reference to id " << id;
    EXPECT_TRUE(load.AtEnd());
    loaded.clear();
    EXPECT_EQ(g_liveObjects, live);
}

INSTANTIATE_TEST_SUITE_P(Ids, ArchiveIdBoundaryTest,
                         ::testing::Values(
                             // Class 7FFE (short tag FE FF), objects 7FFF and 8000.
                             IdBoundaryCase{"ClassJustBelowTheEscape",
                                            0x7FFD,
                                            {0x7FFD, 0x7FFF, 0x8000},
                                            "FF FF 01 00 0A 00 43 54 65 73 74 4F 74 68 65 72 01"
                                            " FE FF 02"
                                            " FD 7F"
                                            " FF 7F FF 7F 00 00"
                                            " FF 7F 00 80 00 00"},
                             // Class 7FFF, objects 8000 and 8001.
                             IdBoundaryCase{"ClassAtTheEscape",
                                            0x7FFE,
                                            {0x7FFE, 0x8000},
                                            "FF FF 01 00 0A 00 43 54 65 73 74 4F 74 68 65 72 01"
                                            " FF 7F FF 7F 00 80 02"
                                            " FE 7F"
                                            " FF 7F 00 80 00 00"},
                             // Item 7FFF, class 8000, objects 8001 and 8002.
                             IdBoundaryCase{"ObjectAtTheEscape",
                                            0x7FFF,
                                            {0x7FFE, 0x7FFF, 0x8001},
                                            "FF FF 01 00 0A 00 43 54 65 73 74 4F 74 68 65 72 01"
                                            " FF 7F 00 80 00 80 02"
                                            " FE 7F"
                                            " FF 7F FF 7F 00 00"
                                            " FF 7F 01 80 00 00"}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace archive_test
