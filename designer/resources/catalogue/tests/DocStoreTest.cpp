// The document-store catalogue: reading the server's elements, the key
// types, the ordered keys of a document type, the look-ups and the WVD form.

#include "designer/document/DesignerDoc.h"
#include "designer/document/XmlHttp.h"
#include "designer/resources/ResourceClasses.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "tests/support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

XmlDocument ParseText(const std::string& xml)
{
    return XmlDocument::Parse(xml.data(), xml.size());
}

// A store whose details come from the sections given, as a details answer
// carries them.
DocStore StoreWithDetails(const char* name, const std::string& sections)
{
    const XmlDocument answer = ParseText("<KWVD><docStore><store><name>" + std::string(name) + "</name>" + sections
                                         + "</store></docStore></KWVD>");
    EXPECT_FALSE(answer.IsNull());
    DocStore store;
    EXPECT_TRUE(store.ReadFromXml(XmlSelectNodes(answer.AsNode(), QStringLiteral("/KWVD/docStore/store")).front()));
    store.ReadDetails(answer);
    return store;
}

std::string Key(int id, const char* type, const char* name, int size = 0, int scale = 0)
{
    return "<docStoreKey><id>" + std::to_string(id) + "</id><type>" + type + "</type><name>" + name
           + "</name><description>" + name + " key</description><size>" + std::to_string(size) + "</size><scale>"
           + std::to_string(scale) + "</scale></docStoreKey>";
}

std::string DocType(int id, const char* name)
{
    return "<documentType><id>" + std::to_string(id) + "</id><name>" + name + "</name></documentType>";
}

std::string Relation(int docType, int key, int sort, int required = 0, int unique = 0)
{
    return "<documentTypeKey><docTypeID>" + std::to_string(docType) + "</docTypeID><keyTableID>" + std::to_string(key)
           + "</keyTableID><sortIndex>" + std::to_string(sort) + "</sortIndex><keyRequired>" + std::to_string(required)
           + "</keyRequired><keyUnique>" + std::to_string(unique) + "</keyUnique></documentTypeKey>";
}

std::string Sections(const std::string& keys, const std::string& docTypes, const std::string& relations)
{
    return "<docStoreKeys>" + keys + "</docStoreKeys><documentTypes>" + docTypes + "</documentTypes><documentTypeKeys>"
           + relations + "</documentTypeKeys>";
}

// ---- key types -----------------------------------------------------------

TEST(DocStoreKey, TypeNameGivesTypeAndDescription)
{
    struct Case
    {
        const char* name;
        const char* typeName;
        int size;
        int scale;
        DocStoreKeyType type;
        const char* description;
    };
    const Case cases[] = {
        {"small integer", "SMALLINT", 0, 0, DocStoreKeyType::SmallInt, "Numeric (-32768 to +32767)"},
        {"big integer", "BIGINT", 0, 0, DocStoreKeyType::BigInt,
         "Numeric (-9223372036854775808 to +9223372036854775807)"},
        {"char with its length", "CHAR", 10, 0, DocStoreKeyType::Char, "Text (Length: 10)"},
        {"mixed case", "VarChar", 20, 0, DocStoreKeyType::VarChar, "Text (Max Length: 20)"},
        {"time lacks its parenthesis", "time", 0, 0, DocStoreKeyType::Time, "Time (Format: HH:MM:SS"},
        {"float and real share", "FLOAT", 0, 0, DocStoreKeyType::Float, "Real (32 bit floating point)"},
        {"decimal with size and scale", "DECIMAL", 9, 2, DocStoreKeyType::Decimal, "Decimal (9, 2)"},
        {"numeric as decimal", "Numeric", 15, 0, DocStoreKeyType::Numeric, "Decimal (15, 0)"},
        {"not in the table", "BLOB", 4, 0, DocStoreKeyType::Unknown, "Unknown"},
        {"surrounding blanks are part of the name", " DATE", 0, 0, DocStoreKeyType::Unknown, "Unknown"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const XmlDocument doc = ParseText(Key(1, c.typeName, "K", c.size, c.scale));
        DocStoreKey key;
        ASSERT_TRUE(key.ReadFromXml(doc.Root()));
        EXPECT_EQ(key.GetType(), c.type);
        EXPECT_EQ(key.GetTypeDescription(), QString::fromLatin1(c.description));
    }
    EXPECT_EQ(DocStoreKey::GetTypeName(static_cast<DocStoreKeyType>(14)), QString());
    EXPECT_EQ(DocStoreKey::GetTypeName(static_cast<DocStoreKeyType>(-1)), QString());
}

// ---- reading the server's elements --------------------------------------------

TEST(DocStoreXml, EntriesTakeTheirChildrenByTheReadingRules)
{
    struct Case
    {
        const char* name;
        const char* xml;
        std::function<void(xmlNode*)> check;
    };
    const Case cases[] = {
        {"key without a name is refused", "<docStoreKey><id>4</id></docStoreKey>",
         [](xmlNode* e) {
             DocStoreKey k;
             EXPECT_FALSE(k.ReadFromXml(e));
         }},
        {"key with an empty name stays", "<docStoreKey><name/></docStoreKey>",
         [](xmlNode* e) {
             DocStoreKey k;
             ASSERT_TRUE(k.ReadFromXml(e));
             EXPECT_EQ(k.GetName(), QString());
             EXPECT_EQ(k.GetId(), -1);
             EXPECT_EQ(k.GetType(), DocStoreKeyType::Unknown);
             EXPECT_EQ(k.GetSize(), 0);
         }},
        {"numbers by the C rules",
         "<docStoreKey><name>N</name><id> 7x</id><size>+12</size><scale>abc</scale></docStoreKey>",
         [](xmlNode* e) {
             DocStoreKey k;
             ASSERT_TRUE(k.ReadFromXml(e));
             EXPECT_EQ(k.GetId(), 7);
             EXPECT_EQ(k.GetSize(), 12);
             EXPECT_EQ(k.GetScale(), 0);
         }},
        {"numbers clamp to 32 bits",
         "<docStoreKey><name>N</name><id>99999999999</id><size>-99999999999</size>"
         "<scale>-2147483648</scale></docStoreKey>",
         [](xmlNode* e) {
             DocStoreKey k;
             ASSERT_TRUE(k.ReadFromXml(e));
             EXPECT_EQ(k.GetId(), INT_MAX);
             EXPECT_EQ(k.GetSize(), INT_MIN);
             EXPECT_EQ(k.GetScale(), INT_MIN);
         }},
        {"document type without a name is refused", "<documentType><id>1</id></documentType>",
         [](xmlNode* e) {
             DocStoreDocType t;
             EXPECT_FALSE(t.ReadFromXml(e));
         }},
        {"autoName yes in any case",
         "<documentType><name>T</name><autoName>yEs</autoName><rootFolder>/r</rootFolder></documentType>",
         [](xmlNode* e) {
             DocStoreDocType t;
             ASSERT_TRUE(t.ReadFromXml(e));
             EXPECT_EQ(t.GetAutoName(), 1);
             EXPECT_EQ(t.GetRootFolder(), QStringLiteral("/r"));
         }},
        {"autoName Y is not yes", "<documentType><name>T</name><autoName>Y</autoName></documentType>",
         [](xmlNode* e) {
             DocStoreDocType t;
             ASSERT_TRUE(t.ReadFromXml(e));
             EXPECT_EQ(t.GetAutoName(), 0);
         }},
        {"relation flags count only for exactly 1",
         "<documentTypeKey><keyRequired>2</keyRequired><keyUnique>true</keyUnique><sortIndex> "
         "7a</sortIndex></documentTypeKey>",
         [](xmlNode* e) {
             DocTypeToKeyMapper r;
             r.ReadFromXml(e);
             EXPECT_EQ(r.required, 0);
             EXPECT_EQ(r.unique, 0);
             EXPECT_EQ(r.sortIndex, 7);
             EXPECT_EQ(r.docTypeId, -1);
             EXPECT_EQ(r.keyTableId, -1);
         }},
        {"relation flags set by 1",
         "<documentTypeKey><keyRequired> 1</keyRequired><keyUnique>1</keyUnique></documentTypeKey>",
         [](xmlNode* e) {
             DocTypeToKeyMapper r;
             r.ReadFromXml(e);
             EXPECT_EQ(r.required, 1);
             EXPECT_EQ(r.unique, 1);
             EXPECT_EQ(r.sortIndex, -1);
         }},
        {"store takes the first name child and empty extras", "<store><name>A</name><name>B</name></store>",
         [](xmlNode* e) {
             DocStore s;
             ASSERT_TRUE(s.ReadFromXml(e));
             EXPECT_EQ(s.GetName(), QStringLiteral("A"));
             EXPECT_EQ(s.GetDescription(), QString());
             EXPECT_EQ(s.GetLibrary(), QString());
         }},
        {"child names are case-sensitive", "<store><Name>A</Name></store>",
         [](xmlNode* e) {
             DocStore s;
             EXPECT_FALSE(s.ReadFromXml(e));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const XmlDocument doc = ParseText(c.xml);
        ASSERT_FALSE(doc.IsNull());
        c.check(doc.Root());
    }
}

TEST(DocStoreXml, DetailsReadOnlyTheFirstSectionOfEachKind)
{
    const DocStore store = StoreWithDetails("S", "<docStoreKeys>" + Key(1, "CHAR", "FIRST")
                                                     + "<docStoreKey><id>9</id></docStoreKey></docStoreKeys>"
                                                       "<docStoreKeys>"
                                                     + Key(2, "CHAR", "SECOND")
                                                     + "</docStoreKeys>"
                                                       "<documentTypes>"
                                                     + DocType(5, "INV") + "</documentTypes>");
    ASSERT_EQ(store.GetKeys().size(), 1u);
    EXPECT_EQ(store.GetKeys()[0].GetName(), QStringLiteral("FIRST"));
    ASSERT_EQ(store.GetDocTypes().size(), 1u);
    EXPECT_TRUE(store.GetRelations().empty());
}

// ---- ordered keys and look-ups -------------------------------------------------

TEST(DocStore, DocTypeKeysAreOrderedBySortIndexKeepingRelationOrderForTies)
{
    const DocStore store = StoreWithDetails(
        "S",
        Sections(Key(10, "CHAR", "C", 8) + Key(11, "VARCHAR", "V", 20) + Key(12, "DATE", "D") + Key(13, "INTEGER", "I"),
                 DocType(5, "INV") + DocType(6, "ORD") + DocType(5, "SHADOW"),
                 Relation(5, 10, 3) + Relation(6, 12, 0) + Relation(5, 11, 1, 1, 1) + Relation(5, 12, 2)
                     + Relation(5, 13, 5) + Relation(5, 99, 5) + Relation(7, 10, 0)));

    std::vector<DocTypeKey> keys;
    store.GetDocTypeKeys(QStringLiteral("INV"), keys);
    ASSERT_EQ(keys.size(), 5u);
    const int sortIndexes[] = {1, 2, 3, 5, 5};
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(keys[i].sortIndex, sortIndexes[i]) << i;
    EXPECT_EQ(keys[0].key->GetName(), QStringLiteral("V"));
    EXPECT_EQ(keys[1].key->GetName(), QStringLiteral("D"));
    EXPECT_EQ(keys[2].key->GetName(), QStringLiteral("C"));
    EXPECT_EQ(keys[3].key->GetName(), QStringLiteral("I"));
    EXPECT_EQ(keys[4].key, nullptr); // key 99 does not exist
    EXPECT_EQ(keys[4].GetDescription(), QString());
    EXPECT_EQ(keys[0].GetDescription(), QStringLiteral("Text (Max Length: 20) +Unique +Required"));
    EXPECT_EQ(keys[2].GetDescription(), QStringLiteral("Text (Length: 8)"));

    // Relations of id 5 belong to the first type with that id only.
    std::vector<DocTypeKey> shadow;
    store.GetDocTypeKeys(QStringLiteral("SHADOW"), shadow);
    EXPECT_TRUE(shadow.empty());

    // No type of that name: nothing, though a relation names a missing id 7.
    std::vector<DocTypeKey> none;
    store.GetDocTypeKeys(QStringLiteral("inv"), none);
    EXPECT_TRUE(none.empty());
}

TEST(DocTypeKey, FlagsOtherThanOneAddNothing)
{
    const DocStore store = StoreWithDetails("S", Sections(Key(1, "INTEGER", "I"), "", ""));
    DocTypeKey entry{0, &store.GetKeys()[0], 2, -1};
    EXPECT_EQ(entry.GetDescription(), QStringLiteral("Numeric (-2147483648 to +2147483647)"));
    entry.required = 1;
    EXPECT_EQ(entry.GetDescription(), QStringLiteral("Numeric (-2147483648 to +2147483647) +Required"));
}

TEST(DocStore, LookupsAreCaseSensitiveAndTakeTheFirstMatch)
{
    const DocStore store = StoreWithDetails("S", Sections("", DocType(1, "Inv") + DocType(2, "Inv"), ""));
    ASSERT_NE(store.FindDocType(QStringLiteral("Inv")), nullptr);
    EXPECT_EQ(store.FindDocType(QStringLiteral("Inv"))->GetId(), 1);
    EXPECT_EQ(store.FindDocType(QStringLiteral("INV")), nullptr);
}

// ---- WVD form ------------------------------------------------------------------

Bytes ManagerClassTag()
{
    return Hex("FF FF 00 00 10 00") + Ascii("CDocStoreManager");
}

class DocStoreFileTest : public ::testing::Test
{
protected:
    void SetUp() override { RegisterResourceClasses(); }

    // Reads a catalogue object as the document reads it from a file of the
    // version; then checks that exactly the sentinel follows.
    std::unique_ptr<CDocStoreManager> ReadAtVersion(const Bytes& bytes, BYTE version)
    {
        doc.SetDocumentVersion(version);
        std::unique_ptr<CDocStoreManager> manager;
        Load(bytes + Hex("EF BE AD DE"), [&](CArchive& ar) {
            ar.m_pDocument = &doc;
            manager.reset(ar.ReadObject<CDocStoreManager>());
            DWORD sentinel = 0;
            ar >> sentinel;
            EXPECT_EQ(sentinel, 0xDEADBEEFu);
        });
        doc.SetDocumentVersion(CDesignerDoc::kCurrentVersion);
        return manager;
    }

    CDesignerDoc doc;
};

TEST_F(DocStoreFileTest, Version53KeysCarryThreeDiscardedValuesAndRelationsNoFlags)
{
    const Bytes file = ManagerClassTag() + Hex("01 00")               // one store
                       + Text("S1") + Text("Store one") + Text("LIB") //
                       + Hex("01 00") + Hex("05 00 00 00") + Text("INV") + Text("Invoice") + Hex("01 00")
                       + Hex("02 00") // two keys
                       + Hex("0A 00 00 00") + Text("VarChar") + Text("CUST") + Text("Customer")
                       + Hex("14 00 00 00 00 00 00 00") + Hex("07 00 08 00") + Text("junk") // discarded below 54
                       + Hex("0B 00 00 00") + Text("DECIMAL") + Text("AMT") + Text("Amount")
                       + Hex("09 00 00 00 02 00 00 00") + Hex("00 00 00 00") + Text("") //
                       + Hex("02 00")                                                   // two relations, no flags
                       + Hex("05 00 00 00 0A 00 00 00 02 00 00 00") + Hex("05 00 00 00 0B 00 00 00 01 00 00 00");

    const std::unique_ptr<CDocStoreManager> manager = ReadAtVersion(file, 53);
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(manager->GetDocument(), &doc);
    ASSERT_EQ(manager->GetStores().size(), 1u);
    const DocStore& store = manager->GetStores()[0];
    EXPECT_EQ(store.GetName(), QStringLiteral("S1"));
    EXPECT_EQ(store.GetDescription(), QStringLiteral("Store one"));
    EXPECT_EQ(store.GetLibrary(), QStringLiteral("LIB"));
    ASSERT_EQ(store.GetDocTypes().size(), 1u);
    EXPECT_EQ(store.GetDocTypes()[0].GetId(), 5);
    EXPECT_EQ(store.GetDocTypes()[0].GetAutoName(), 1);
    ASSERT_EQ(store.GetKeys().size(), 2u);
    EXPECT_EQ(store.GetKeys()[0].GetType(), DocStoreKeyType::VarChar);
    EXPECT_EQ(store.GetKeys()[0].GetTypeDescription(), QStringLiteral("Text (Max Length: 20)"));
    EXPECT_EQ(store.GetKeys()[1].GetTypeDescription(), QStringLiteral("Decimal (9, 2)"));
    ASSERT_EQ(store.GetRelations().size(), 2u);
    for (const DocTypeToKeyMapper& relation : store.GetRelations()) {
        EXPECT_EQ(relation.required, 0);
        EXPECT_EQ(relation.unique, 0);
    }
    std::vector<DocTypeKey> keys;
    store.GetDocTypeKeys(QStringLiteral("INV"), keys);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].key->GetName(), QStringLiteral("AMT"));
}

TEST_F(DocStoreFileTest, CurrentFormIsWrittenWithFlagsAndWithoutRootFolder)
{
    DocStore store = StoreWithDetails(
        "S", Sections(Key(3, "CHAR", "K", 4),
                      "<documentType><id>2</id><name>T</name><description>D</description><rootFolder>/root</rootFolder>"
                      "<autoName>YES</autoName></documentType>",
                      Relation(2, 3, 1, 1, 0)));
    const Bytes storeBytes = Text("S") + Text("") + Text("") + Hex("01 00") + Hex("02 00 00 00") + Text("T") + Text("D")
                             + Hex("01 00") + Hex("01 00") + Hex("03 00 00 00") + Text("CHAR") + Text("K")
                             + Text("K key") + Hex("04 00 00 00 00 00 00 00") + Hex("01 00")
                             + Hex("02 00 00 00 03 00 00 00 01 00 00 00") + Hex("01 00 00 00");
    EXPECT_EQ(Store([&](CArchive& ar) { store.Serialize(ar); }), storeBytes);

    // Read back as an object of the current version and written again.
    const Bytes file = ManagerClassTag() + Hex("01 00") + storeBytes;
    const std::unique_ptr<CDocStoreManager> read = ReadAtVersion(file, CDesignerDoc::kCurrentVersion);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(Store([&](CArchive& ar) { ar << read.get(); }), file);
    const DocStore& loaded = read->GetStores()[0];
    EXPECT_EQ(loaded.GetDocTypes()[0].GetRootFolder(), QString());
    EXPECT_EQ(loaded.GetRelations()[0].required, 1);
    EXPECT_EQ(loaded.GetRelations()[0].unique, 0);
    EXPECT_EQ(loaded.GetKeys()[0].GetTypeDescription(), QStringLiteral("Text (Length: 4)"));
}

TEST_F(DocStoreFileTest, RoundTripKeepsEverythingButRootFolders)
{
    const std::string details =
        Sections(Key(1, "VARCHAR", "A", 30) + Key(2, "NUMERIC", "B", 7, 3) + Key(3, "mystery", "C"),
                 "<documentType><id>1</id><name>T1</name><description>one</description><rootFolder>/x</rootFolder>"
                 "<autoName>yes</autoName></documentType>"
                     + DocType(2, "T2"),
                 Relation(1, 1, 2, 1, 1) + Relation(1, 2, 1, 0, 1) + Relation(2, 3, 0, 1, 0));
    const XmlDocument storeList = ParseText("<KWVD><docStore><store><name>Alpha</name><description>first</description>"
                                            "<library>LIBA</library></store></docStore></KWVD>");
    DocStore alpha;
    ASSERT_TRUE(alpha.ReadFromXml(XmlSelectNodes(storeList.AsNode(), QStringLiteral("/KWVD/docStore/store")).front()));
    alpha.CopyDetailsFrom(StoreWithDetails("Alpha", details));
    DocStore beta = StoreWithDetails("Beta", "");

    // Fill a manager by reading what a storing archive made of the two stores.
    const Bytes original = Store([&](CArchive& ar) {
        ar.WriteCount(2);
        alpha.Serialize(ar);
        beta.Serialize(ar);
    });
    CDocStoreManager manager(&doc);
    Load(original, [&](CArchive& ar) { manager.Serialize(ar); });
    const Bytes saved = Store([&](CArchive& ar) { ar << &manager; });
    const std::unique_ptr<CDocStoreManager> reloaded = ReadAtVersion(saved, CDesignerDoc::kCurrentVersion);
    ASSERT_NE(reloaded, nullptr);
    ASSERT_EQ(reloaded->GetStores().size(), 2u);

    const DocStore& a = reloaded->GetStores()[0];
    EXPECT_EQ(a.GetName(), QStringLiteral("Alpha"));
    EXPECT_EQ(a.GetDescription(), QStringLiteral("first"));
    EXPECT_EQ(a.GetLibrary(), QStringLiteral("LIBA"));
    ASSERT_EQ(a.GetKeys().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const DocStoreKey& was = alpha.GetKeys()[i];
        const DocStoreKey& now = a.GetKeys()[i];
        EXPECT_EQ(now.GetId(), was.GetId());
        EXPECT_EQ(now.GetType(), was.GetType());
        EXPECT_EQ(now.GetName(), was.GetName());
        EXPECT_EQ(now.GetDescription(), was.GetDescription());
        EXPECT_EQ(now.GetSize(), was.GetSize());
        EXPECT_EQ(now.GetScale(), was.GetScale());
        EXPECT_EQ(now.GetTypeDescription(), was.GetTypeDescription());
    }
    EXPECT_EQ(a.GetKeys()[1].GetTypeDescription(), QStringLiteral("Decimal (7, 3)"));
    ASSERT_EQ(a.GetDocTypes().size(), 2u);
    EXPECT_EQ(a.GetDocTypes()[0].GetName(), QStringLiteral("T1"));
    EXPECT_EQ(a.GetDocTypes()[0].GetDescription(), QStringLiteral("one"));
    EXPECT_EQ(a.GetDocTypes()[0].GetAutoName(), 1);
    EXPECT_EQ(a.GetDocTypes()[0].GetRootFolder(), QString());
    ASSERT_EQ(a.GetRelations().size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const DocTypeToKeyMapper& was = alpha.GetRelations()[i];
        const DocTypeToKeyMapper& now = a.GetRelations()[i];
        EXPECT_EQ(now.docTypeId, was.docTypeId);
        EXPECT_EQ(now.keyTableId, was.keyTableId);
        EXPECT_EQ(now.sortIndex, was.sortIndex);
        EXPECT_EQ(now.required, was.required);
        EXPECT_EQ(now.unique, was.unique);
    }
    EXPECT_EQ(reloaded->GetStores()[1].GetName(), QStringLiteral("Beta"));
    EXPECT_NE(reloaded->FindStore(QStringLiteral("Beta")), nullptr);
    EXPECT_EQ(reloaded->FindStore(QStringLiteral("beta")), nullptr);
}

TEST_F(DocStoreFileTest, CountsBeyondTheDataEndTheRead)
{
    struct Case
    {
        const char* name;
        Bytes body;
    };
    const Case cases[] = {
        {"huge store count", Hex("FF FF FF FF FF 7F")},
        {"store cut in its texts", Hex("01 00") + Text("S") + Hex("FF FE FF 09 41 00")},
        {"huge key count", Hex("01 00") + Text("S") + Text("") + Text("") + Hex("00 00") + Hex("FF FF 00 00 00 10")},
        {"relation cut short", Hex("01 00") + Text("S") + Text("") + Text("") + Hex("00 00 00 00 01 00 01 00 00 00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            Load(ManagerClassTag() + c.body, [&](CArchive& ar) {
                ar.m_pDocument = &doc;
                std::unique_ptr<CDocStoreManager> manager(ar.ReadObject<CDocStoreManager>());
            });
            ADD_FAILURE() << "read succeeded";
        } catch (const CArchiveException& e) {
            EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
        }
    }
}

} // namespace
