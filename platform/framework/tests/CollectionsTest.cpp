// The framework's collections: their registered names, the list operations
// the document's lists rely on, and what loading does to existing content.
// Their byte layout is in ArchiveGoldenTest.

#include "ArchiveTestClasses.h"

#include "platform/framework/FrameworkClasses.h"

#include <gtest/gtest.h>

#include <ostream>

#include <memory>
#include <stdexcept>

namespace archive_test {
namespace {

struct RegisteredCase
{
    const char* name;
    const CRuntimeClass* runtimeClass;
};

void PrintTo(const RegisteredCase& c, std::ostream* os)
{
    *os << c.name;
}

class CollectionsRegisteredTest : public ::testing::TestWithParam<RegisteredCase>
{};

TEST_P(CollectionsRegisteredTest, FoundByNameWithSchemaZero)
{
    RegisterFrameworkClasses();
    const RegisteredCase& c = GetParam();
    const CRuntimeClass* found = CRuntimeClass::FromName(c.name);
    ASSERT_EQ(found, c.runtimeClass);
    EXPECT_EQ(found->schema, 0u) << "schema 0 and not versionable";
    std::unique_ptr<CObject> made(found->CreateObject());
    ASSERT_TRUE(made);
    EXPECT_EQ(made->GetRuntimeClass(), c.runtimeClass);
}

INSTANTIATE_TEST_SUITE_P(Classes, CollectionsRegisteredTest,
                         ::testing::Values(RegisteredCase{"CObList", KWVD_RUNTIME_CLASS(CObList)},
                                           RegisteredCase{"CObArray", KWVD_RUNTIME_CLASS(CObArray)},
                                           RegisteredCase{"CStringArray", KWVD_RUNTIME_CLASS(CStringArray)},
                                           RegisteredCase{"CWordArray", KWVD_RUNTIME_CLASS(CWordArray)}),
                         [](const auto& info) { return std::string(info.param.name); });

std::vector<WORD> valuesOf(const CObList& list)
{
    std::vector<WORD> values;
    for (const CObject* object : list)
        values.push_back(object ? static_cast<const CTestItem*>(object)->m_value : 0);
    return values;
}

TEST(CObListTest, MovingAnItemToTheHead)
{
    CTestItem a(1), b(2), c(3);
    CObList list;
    list.AddTail(&a);
    list.AddTail(&b);
    list.AddTail(&c);

    auto at = list.Find(&c);
    ASSERT_NE(at, list.end());
    list.RemoveAt(at);
    list.AddHead(&c);
    EXPECT_EQ(valuesOf(list), (std::vector<WORD>{3, 1, 2}));

    list.InsertBefore(list.Find(&b), nullptr);
    EXPECT_EQ(valuesOf(list), (std::vector<WORD>{3, 1, 0, 2}));
    EXPECT_EQ(list.Find(static_cast<CObject*>(&b)) == list.end(), false);
    EXPECT_EQ(list.RemoveTail(), &b);
    EXPECT_EQ(list.RemoveHead(), &c);
    EXPECT_EQ(list.GetCount(), 2);
}

TEST(CObListTest, EmptyListGivesNull)
{
    CObList list;
    EXPECT_EQ(list.GetHead(), nullptr);
    EXPECT_EQ(list.GetTail(), nullptr);
    EXPECT_EQ(list.RemoveHead(), nullptr);
    EXPECT_EQ(list.RemoveTail(), nullptr);
    EXPECT_EQ(list.Find(nullptr), list.end());
}

TEST(CollectionsLoadTest, ListAppendsWhileArraysReplace)
{
    RegisterTestClasses();
    CTestItem stored(7);
    const Bytes bytes = Store([&](CArchive& ar) {
        CObList list;
        list.AddTail(&stored);
        list.Serialize(ar);
        CObArray array;
        array.Add(&stored);
        array.Serialize(ar);
        CStringArray strings;
        strings.Add(QStringLiteral("new"));
        strings.Serialize(ar);
        CWordArray words;
        words.Add(9);
        words.Serialize(ar);
    });

    CTestItem kept(1);
    CObList list;
    list.AddTail(&kept);
    CObArray array;
    array.Add(&kept);
    CStringArray strings;
    strings.Add(QStringLiteral("old"));
    CWordArray words;
    words.Add(1);

    LoadArchive load(bytes);
    list.Serialize(load.ar());
    array.Serialize(load.ar());
    strings.Serialize(load.ar());
    words.Serialize(load.ar());
    EXPECT_TRUE(load.AtEnd());

    std::unique_ptr<CObject> loaded(list.GetTail());
    EXPECT_EQ(valuesOf(list), (std::vector<WORD>{1, 7}));
    ASSERT_EQ(array.GetSize(), 1);
    EXPECT_EQ(array[0], loaded.get()) << "the same object in both";
    ASSERT_EQ(strings.GetSize(), 1);
    EXPECT_TRUE(strings[0] == QStringLiteral("new"));
    ASSERT_EQ(words.GetSize(), 1);
    EXPECT_EQ(words[0], 9);
}

TEST(CollectionsIndexTest, InsertPastTheEndFillsAndBadIndexesThrow)
{
    CWordArray words;
    words.InsertAt(2, 5);
    ASSERT_EQ(words.GetSize(), 3);
    EXPECT_EQ(words[0], 0);
    EXPECT_EQ(words[2], 5);
    EXPECT_THROW(words.RemoveAt(3), std::out_of_range);
    EXPECT_THROW(words.InsertAt(-1, 1), std::out_of_range);
    EXPECT_THROW(words.GetAt(3), std::out_of_range);

    CStringArray strings;
    strings.InsertAt(1, QStringLiteral("b"));
    ASSERT_EQ(strings.GetSize(), 2);
    EXPECT_TRUE(strings[0].isEmpty());
    strings.RemoveAt(0);
    EXPECT_TRUE(strings[0] == QStringLiteral("b"));

    CObArray objects;
    objects.InsertAt(1, nullptr);
    EXPECT_EQ(objects.GetSize(), 2);
    EXPECT_THROW(objects.SetAt(2, nullptr), std::out_of_range);
}

} // namespace
} // namespace archive_test
