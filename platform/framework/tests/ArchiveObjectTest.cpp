// Objects in the archive: the test classes shared by the archive tests, then
// schemas as stored, failed loads, nesting depth, shared references in a
// round trip, and the class registry.

#include "ArchiveTestClasses.h"

#include "platform/framework/File.h"
#include "platform/framework/FrameworkClasses.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <set>

namespace archive_test {

int g_liveObjects = 0;

KWVD_IMPLEMENT_SERIAL(CTestItem, CObject, 1)
KWVD_IMPLEMENT_SERIAL(CTestDerived, CTestItem, 1)
KWVD_IMPLEMENT_SERIAL(CTestOther, CObject, 1)
KWVD_IMPLEMENT_SERIAL(CTestVersioned, CObject, VERSIONABLE_SCHEMA | 3)
KWVD_IMPLEMENT_SERIAL(CTestHolder, CObject, VERSIONABLE_SCHEMA | 2)
KWVD_IMPLEMENT_SERIAL(CTestFailing, CObject, 1)
KWVD_IMPLEMENT_SERIAL(CTestNode, CObject, VERSIONABLE_SCHEMA | 1)
KWVD_IMPLEMENT_DYNAMIC(CTestDynamic, CObject)

void RegisterTestClasses()
{
    RegisterFrameworkClasses();
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestItem));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestDerived));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestOther));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestVersioned));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestHolder));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestFailing));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestNode));
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestDynamic));
}

void CTestItem::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_value;
    else
        ar >> m_value;
}

void CTestDerived::Serialize(CArchive& ar)
{
    CTestItem::Serialize(ar);
    if (ar.IsStoring())
        ar << m_extra;
    else
        ar >> m_extra;
}

void CTestOther::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_value;
    else
        ar >> m_value;
}

void CTestVersioned::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_number << m_narrow << m_wide;
        return;
    }
    const UINT schema = ar.GetObjectSchema();
    m_schemaFirst = schema;
    if (schema >= 1)
        ar >> m_number;
    if (schema >= 2)
        ar >> m_narrow;
    if (schema >= 3)
        ar >> m_wide;
    m_schemaSecond = ar.GetObjectSchema();
}

CTestHolder::~CTestHolder()
{
    delete m_child;
}

void CTestHolder::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_child << m_other;
        return;
    }
    const UINT schema = ar.GetObjectSchema();
    m_schemaBefore = schema;
    m_child = ar.ReadObject(nullptr);
    m_schemaAfter = ar.GetObjectSchema();
    if (schema >= 2)
        m_other = ar.ReadObject(nullptr);
}

void CTestFailing::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_flag;
        return;
    }
    ar >> m_flag;
    if (m_flag == 0xDEAD)
        AfxThrowArchiveException(CArchiveException::genericException, ar.GetFilePath());
}

void CTestNode::Serialize(CArchive& ar)
{
    if (ar.IsStoring())
        ar << m_value;
    else
        ar >> m_value;
    m_links.Serialize(ar);
}

std::string NarrowPattern(size_t n)
{
    std::string text(n, ' ');
    for (size_t i = 0; i < n; ++i)
        text[i] = static_cast<char>('A' + i % 26);
    return text;
}

QString WidePattern(size_t n)
{
    return QString::fromLatin1(NarrowPattern(n));
}

Bytes NarrowPatternBytes(size_t n)
{
    const std::string text = NarrowPattern(n);
    return Bytes(text.begin(), text.end());
}

Bytes WidePatternBytes(size_t n)
{
    Bytes bytes;
    for (char c : NarrowPattern(n)) {
        bytes.push_back(static_cast<BYTE>(c));
        bytes.push_back(0);
    }
    return bytes;
}

LoadArchive::LoadArchive(const Bytes& bytes)
    : m_bytes(bytes), m_file(m_bytes.data(), static_cast<UINT>(m_bytes.size())), m_archive(&m_file, CArchive::load)
{}

bool LoadArchive::AtEnd()
{
    try {
        m_archive.EnsureAvailable(1);
        return false;
    } catch (const CArchiveException& e) {
        return e.m_cause == CArchiveException::endOfFile;
    }
}

namespace {

class ArchiveObjectTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterTestClasses();
        m_liveAtStart = g_liveObjects;
    }
    void TearDown() override { EXPECT_EQ(g_liveObjects, m_liveAtStart) << "test objects leaked or freed twice"; }

    int m_liveAtStart = 0;
};

CArchiveException::Cause causeOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const CArchiveException& e) {
        return e.m_cause;
    }
    return CArchiveException::none;
}

TEST_F(ArchiveObjectTest, OlderStoredSchemaHoldsForEveryObjectOfTheClass)
{
    // Written by a program whose CTestVersioned was at schema 1: only the WORD.
    const Bytes bytes = Hex("FF FF 01 00 0E 00") + Ascii("CTestVersioned") + Hex("11 00") + Hex("01 80 22 00");
    LoadArchive load(bytes);
    std::unique_ptr<CTestVersioned> first(load.ar().ReadObject<CTestVersioned>());
    std::unique_ptr<CTestVersioned> second(load.ar().ReadObject<CTestVersioned>());

    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->m_number, 0x11);
    EXPECT_EQ(second->m_number, 0x22);
    for (const CTestVersioned* object : {first.get(), second.get()}) {
        EXPECT_EQ(object->m_schemaFirst, 1u);
        EXPECT_EQ(object->m_schemaSecond, 1u) << "reading the schema must not change it";
        EXPECT_TRUE(object->m_narrow.empty());
    }
    EXPECT_TRUE(load.AtEnd());
    EXPECT_EQ(load.ar().GetObjectSchema(), CArchive::kNoObjectSchema);
}

TEST_F(ArchiveObjectTest, SchemaOfTheOuterObjectIsRestoredAfterANestedOne)
{
    // A schema-1 holder whose child is a schema-2 versioned object.
    const Bytes bytes = Hex("FF FF 01 00 0B 00") + Ascii("CTestHolder") + Hex("FF FF 02 00 0E 00")
                        + Ascii("CTestVersioned") + Hex("05 00 02 41 42");
    LoadArchive load(bytes);
    std::unique_ptr<CTestHolder> holder(load.ar().ReadObject<CTestHolder>());

    ASSERT_TRUE(holder);
    EXPECT_EQ(holder->m_schemaBefore, 1u);
    EXPECT_EQ(holder->m_schemaAfter, 1u);
    auto* child = dynamic_cast<CTestVersioned*>(holder->m_child);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(child->m_schemaFirst, 2u);
    EXPECT_EQ(child->m_schemaSecond, 2u);
    EXPECT_EQ(child->m_number, 5);
    EXPECT_EQ(child->m_narrow, "AB");
    EXPECT_TRUE(load.AtEnd());
}

// A container hands its own schema to a record that has none and gets it back.
class CTestSchemaSetter : public CObject
{
    KWVD_DECLARE_SERIAL(CTestSchemaSetter)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            return;
        ar.SetObjectSchema(7);
        m_seenSet = ar.GetObjectSchema();
        m_nested.reset(ar.ReadObject(nullptr));
        m_seenAfterNested = ar.GetObjectSchema();
    }
    UINT m_seenSet = 0;
    UINT m_seenAfterNested = 0;
    std::unique_ptr<CObject> m_nested;
};
KWVD_IMPLEMENT_SERIAL(CTestSchemaSetter, CObject, 0)

TEST_F(ArchiveObjectTest, SetSchemaSurvivesANestedObjectRead)
{
    RegisterRuntimeClass(KWVD_RUNTIME_CLASS(CTestSchemaSetter));
    const Bytes bytes = Hex("FF FF 00 00 11 00") + Ascii("CTestSchemaSetter") + Hex("FF FF 01 00 09 00")
                        + Ascii("CTestItem") + Hex("01 00");
    LoadArchive load(bytes);
    std::unique_ptr<CTestSchemaSetter> setter(load.ar().ReadObject<CTestSchemaSetter>());
    ASSERT_TRUE(setter);
    EXPECT_EQ(setter->m_seenSet, 7u);
    EXPECT_EQ(setter->m_seenAfterNested, 7u);
    EXPECT_EQ(load.ar().GetObjectSchema(), CArchive::kNoObjectSchema);
}

TEST_F(ArchiveObjectTest, ObjectWhoseLoadFailsIsDeletedAndItsIdNoLongerResolves)
{
    const Bytes bytes = Hex("FF FF 01 00 0C 00") + Ascii("CTestFailing") + Hex("AD DE") + Hex("02 00");
    LoadArchive load(bytes);
    EXPECT_EQ(causeOf([&] { load.ar().ReadObject(nullptr); }), CArchiveException::genericException);
    EXPECT_EQ(g_liveObjects, m_liveAtStart);
    EXPECT_EQ(causeOf([&] { load.ar().ReadObject(nullptr); }), CArchiveException::badIndex);
}

TEST_F(ArchiveObjectTest, ObjectsReadInsideAFailedOneNoLongerResolve)
{
    // Holder 2 reads item 4 (which it owns), then failing object 6 throws:
    // the holder and, with it, the item are gone, so a reference to 4 is bad.
    const Bytes bytes = Hex("FF FF 02 00 0B 00") + Ascii("CTestHolder") + Hex("FF FF 01 00 09 00") + Ascii("CTestItem")
                        + Hex("34 12") + Hex("FF FF 01 00 0C 00") + Ascii("CTestFailing") + Hex("AD DE") + Hex("04 00");
    LoadArchive load(bytes);
    EXPECT_EQ(causeOf([&] { load.ar().ReadObject(nullptr); }), CArchiveException::genericException);
    EXPECT_EQ(g_liveObjects, m_liveAtStart);
    EXPECT_EQ(causeOf([&] { load.ar().ReadObject(nullptr); }), CArchiveException::badIndex);
}

TEST_F(ArchiveObjectTest, ClassesReadBeforeAFailureStayKnown)
{
    const Bytes bytes = Hex("FF FF 01 00 0C 00") + Ascii("CTestFailing") + Hex("AD DE") + Hex("01 80 00 00");
    LoadArchive load(bytes);
    EXPECT_EQ(causeOf([&] { load.ar().ReadObject(nullptr); }), CArchiveException::genericException);
    std::unique_ptr<CObject> next(load.ar().ReadObject(nullptr));
    ASSERT_NE(dynamic_cast<CTestFailing*>(next.get()), nullptr);
}

// Item 2 is read on its own, then holder 4 with its own child 5 and a
// reference to item 2; references to 2 and 5 follow.
const Bytes kItemThenHolder = Hex("FF FF 01 00 09 00") + Ascii("CTestItem") + Hex("11 11") + Hex("FF FF 02 00 0B 00")
                              + Ascii("CTestHolder") + Hex("01 80 22 22") + Hex("02 00") + Hex("02 00") + Hex("05 00");

TEST_F(ArchiveObjectTest, ObjectItsOwnerLetGoNoLongerResolvesNorDoThoseMadeInsideIt)
{
    LoadArchive load(kItemThenHolder);
    std::unique_ptr<CObject> item(load.ar().ReadObject(nullptr));
    auto* holder = dynamic_cast<CTestHolder*>(load.ar().ReadObject(nullptr));
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(holder->m_other, item.get());
    load.ar().ForgetObject(holder);
    delete holder;
    // Read before the holder and not its own: still there.
    EXPECT_EQ(load.ar().ReadObject(nullptr), item.get());
    EXPECT_EQ(causeOf([&] { load.ar().ReadObject(nullptr); }), CArchiveException::badIndex);
}

TEST_F(ArchiveObjectTest, ForgettingAnObjectTheArchiveDidNotMakeChangesNothing)
{
    LoadArchive load(kItemThenHolder);
    std::unique_ptr<CObject> item(load.ar().ReadObject(nullptr));
    std::unique_ptr<CObject> holder(load.ar().ReadObject(nullptr));
    CTestItem stranger;
    load.ar().ForgetObject(&stranger);
    load.ar().ForgetObject(nullptr);
    EXPECT_EQ(load.ar().ReadObject(nullptr), item.get());
    EXPECT_EQ(load.ar().ReadObject(nullptr), static_cast<CTestHolder*>(holder.get())->m_child);
}

struct CollectionCase
{
    const char* name;
    Bytes secondEntry; // after item 4, the list's first entry
};

void PrintTo(const CollectionCase& c, std::ostream* os)
{
    *os << c.name;
}

class ArchiveCollectionTest : public ArchiveObjectTest, public ::testing::WithParamInterface<CollectionCase>
{};

// A list does not own its entries: when its read fails, the entries read
// whole come back to the caller instead of being lost.
TEST_P(ArchiveCollectionTest, FailedListHandsBackTheEntriesReadWhole)
{
    RegisterFrameworkClasses();
    const CollectionCase& c = GetParam();
    const Bytes bytes = Hex("FF FF 00 00 07 00") + Ascii("CObList") + Hex("02 00") + Hex("FF FF 01 00 09 00")
                        + Ascii("CTestItem") + Hex("34 12") + c.secondEntry + Hex("04 00");
    LoadArchive load(bytes);
    std::vector<CObject*> orphans;
    EXPECT_NE(causeOf([&] { load.ar().ReadCollection(KWVD_RUNTIME_CLASS(CObList), orphans); }), CArchiveException::none)
        << c.name;
    ASSERT_EQ(orphans.size(), 1u) << c.name;
    auto* item = dynamic_cast<CTestItem*>(orphans.front());
    ASSERT_NE(item, nullptr) << c.name;
    EXPECT_EQ(item->m_value, 0x1234) << c.name;
    delete item;
    EXPECT_EQ(causeOf([&] { load.ar().ReadObject(nullptr); }), CArchiveException::badIndex) << c.name;
}

const CollectionCase kCollectionCases[] = {
    {"SecondEntryFails", Hex("FF FF 01 00 0C 00") + Ascii("CTestFailing") + Hex("AD DE")},
    {"SecondEntryOfAnUnknownClass", Hex("FF FF 01 00 07 00") + Ascii("CNobody")},
};

INSTANTIATE_TEST_SUITE_P(Cases, ArchiveCollectionTest, ::testing::ValuesIn(kCollectionCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct DepthCase
{
    const char* name;
    int depth;
    CArchiveException::Cause cause;
};

void PrintTo(const DepthCase& c, std::ostream* os)
{
    *os << c.name;
}

class ArchiveDepthTest : public ArchiveObjectTest, public ::testing::WithParamInterface<DepthCase>
{};

// Holders nested depth deep: each holds the next, the last holds null.
Bytes nestedHolders(int depth)
{
    Bytes bytes = Hex("FF FF 01 00 0B 00") + Ascii("CTestHolder");
    for (int i = 1; i < depth; ++i) {
        bytes.push_back(0x01);
        bytes.push_back(0x80);
    }
    return bytes + Hex("00 00");
}

TEST_P(ArchiveDepthTest, NestingIsBounded)
{
    const DepthCase& c = GetParam();
    LoadArchive load(nestedHolders(c.depth));
    CObject* top = nullptr;
    EXPECT_EQ(causeOf([&] { top = load.ar().ReadObject(nullptr); }), c.cause);
    if (c.cause == CArchiveException::none) {
        int depth = 0;
        for (auto* h = dynamic_cast<CTestHolder*>(top); h; h = dynamic_cast<CTestHolder*>(h->m_child))
            ++depth;
        EXPECT_EQ(depth, c.depth);
    }
    delete top;
}

INSTANTIATE_TEST_SUITE_P(Depths, ArchiveDepthTest,
                         ::testing::Values(DepthCase{"AtTheLimit", CArchive::kMaxObjectDepth, CArchiveException::none},
                                           DepthCase{"OneTooDeep", CArchive::kMaxObjectDepth + 1,
                                                     CArchiveException::badIndex},
                                           DepthCase{"FarTooDeep", 100000, CArchiveException::badIndex}),
                         [](const auto& info) { return std::string(info.param.name); });

// A random graph of nodes linking to each other (cycles, self links, nulls,
// repeats) comes back with the same shape and the same sharing.
TEST_F(ArchiveObjectTest, GraphWithSharedReferencesRoundTripsThroughADiskFile)
{
    std::mt19937 random(20240611);
    constexpr int kNodes = 300;
    std::vector<std::unique_ptr<CTestNode>> nodes;
    for (int i = 0; i < kNodes; ++i) {
        nodes.push_back(std::make_unique<CTestNode>());
        nodes.back()->m_value = static_cast<LONG>(random());
    }
    for (auto& node : nodes) {
        const int links = static_cast<int>(random() % 5);
        for (int l = 0; l < links; ++l) {
            const int target = static_cast<int>(random() % (kNodes + 1));
            node->m_links.AddTail(target == kNodes ? nullptr : nodes[target].get());
        }
    }
    CObArray roots;
    for (auto& node : nodes)
        roots.Add(node.get());
    std::shuffle(roots.begin(), roots.end(), random);
    roots.Add(roots.GetAt(0)); // the same object twice at the top

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("graph.bin"));
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        roots.Serialize(ar);
        ar.Close();
        file.Close();
    }

    CObArray loaded;
    {
        CFile file(path, CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        loaded.Serialize(ar);
        ar.Close();
        EXPECT_EQ(file.GetPosition(), file.GetLength());
    }
    std::set<CObject*> unique(loaded.begin(), loaded.end());
    std::vector<std::unique_ptr<CObject>> owner(unique.begin(), unique.end());

    ASSERT_EQ(loaded.GetSize(), roots.GetSize());
    EXPECT_EQ(unique.size(), static_cast<size_t>(kNodes));
    std::map<const CObject*, CObject*> copyOf{{nullptr, nullptr}};
    for (qsizetype i = 0; i < roots.GetSize(); ++i) {
        const auto [it, inserted] = copyOf.emplace(roots[i], loaded[i]);
        EXPECT_EQ(it->second, loaded[i]) << "one object must load as one object";
    }
    for (qsizetype i = 0; i < roots.GetSize(); ++i) {
        const auto* original = static_cast<const CTestNode*>(roots[i]);
        const auto* copy = dynamic_cast<const CTestNode*>(loaded[i]);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(copy->m_value, original->m_value);
        ASSERT_EQ(copy->m_links.GetCount(), original->m_links.GetCount());
        auto c = copy->m_links.begin();
        for (const CObject* link : original->m_links)
            EXPECT_EQ(*c++, copyOf.at(link));
    }
}

TEST_F(ArchiveObjectTest, TypedReadAcceptsADerivedObjectAndRefusesAnUnrelatedOne)
{
    CTestDerived derived;
    derived.m_value = 9;
    derived.m_extra = 3;
    CTestOther other;
    const Bytes bytes = Store([&](CArchive& ar) { ar << &derived << &other; });

    LoadArchive load(bytes);
    CTestItem* item = nullptr;
    load.ar() >> item;
    std::unique_ptr<CTestItem> owned(item);
    auto* asDerived = dynamic_cast<CTestDerived*>(item);
    ASSERT_NE(asDerived, nullptr);
    EXPECT_EQ(asDerived->m_value, 9);
    EXPECT_EQ(asDerived->m_extra, 3);
    EXPECT_EQ(causeOf([&] { load.ar() >> item; }), CArchiveException::badClass);
}

TEST(RuntimeClassTest, RegistryFindsClassesByNameAndKeepsTheFirstOfAName)
{
    RegisterTestClasses();
    RegisterTestClasses(); // again: harmless

    EXPECT_EQ(CRuntimeClass::FromName("CTestItem"), KWVD_RUNTIME_CLASS(CTestItem));
    EXPECT_EQ(CRuntimeClass::FromName("CTestIte"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("ctestitem"), nullptr);

    static const CRuntimeClass impostor = {"CTestItem", 1, &CTestOther::CreateObject, &CObject::runtimeClass};
    EXPECT_FALSE(RegisterRuntimeClass(&impostor));
    EXPECT_EQ(CRuntimeClass::FromName("CTestItem"), KWVD_RUNTIME_CLASS(CTestItem));
}

TEST(RuntimeClassTest, WritingAClassThatCannotBeReadBackIsRefused)
{
    CTestDynamic dynamic;
    EXPECT_EQ(causeOf([&] { Store([&](CArchive& ar) { ar << &dynamic; }); }), CArchiveException::badClass);
}

} // namespace
} // namespace archive_test
