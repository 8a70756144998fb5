// The address fields a document-store device offers: the keys of its
// document type from the document's catalogue, then the parameters the keys
// leave, then the fixed fields.

#include "designer/document/DesignerDoc.h"
#include "designer/document/DocumentClasses.h"
#include "designer/document/XmlHttp.h"
#include "designer/output/OutputClasses.h"
#include "designer/output/OutputDevice.h"
#include "designer/output/OutputDeviceManager.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/ResourceClasses.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "platform/framework/FrameworkClasses.h"
#include "tests/support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

std::string Key(int id, const char* type, const std::string& name, int size)
{
    return "<docStoreKey><id>" + std::to_string(id) + "</id><type>" + type + "</type><name>" + name
           + "</name><description>" + name + " key</description><size>" + std::to_string(size)
           + "</size><scale>0</scale></docStoreKey>";
}

std::string Relation(int docType, int key, int sort, int required = 0, int unique = 0)
{
    return "<documentTypeKey><docTypeID>" + std::to_string(docType) + "</docTypeID><keyTableID>" + std::to_string(key)
           + "</keyTableID><sortIndex>" + std::to_string(sort) + "</sortIndex><keyRequired>" + std::to_string(required)
           + "</keyRequired><keyUnique>" + std::to_string(unique) + "</keyUnique></documentTypeKey>";
}

// Store "ARCHIVE" with three document types:
// - INV: keys 1 to 3, listed by sort index 3, 1, 2, plus a relation to a
//   key the store does not have;
// - BIG: twenty keys, 11 to 30, in order;
// - NONE: no keys.
DocStore ArchiveStore()
{
    std::string keys = Key(1, "CHAR", "CUSTNO", 10) + Key(2, "DECIMAL", "AMOUNT", 9) + Key(3, "VARCHAR", "REF", 20);
    std::string relations = Relation(1, 1, 3) + Relation(1, 2, 1, 1, 0) + Relation(1, 3, 2, 1, 1) + Relation(1, 99, 4);
    for (int i = 11; i <= 30; ++i) {
        keys += Key(i, "CHAR", "K" + std::to_string(i), 4);
        relations += Relation(2, i, i);
    }
    const std::string xml = "<KWVD><docStore><store><name>ARCHIVE</name>"
                            "<docStoreKeys>"
                            + keys
                            + "</docStoreKeys>"
                              "<documentTypes><documentType><id>1</id><name>INV</name></documentType>"
                              "<documentType><id>2</id><name>BIG</name></documentType>"
                              "<documentType><id>3</id><name>NONE</name></documentType></documentTypes>"
                              "<documentTypeKeys>"
                            + relations + "</documentTypeKeys></store></docStore></KWVD>";
    const XmlDocument answer = XmlDocument::Parse(xml.data(), xml.size());
    EXPECT_FALSE(answer.IsNull());
    DocStore store;
    EXPECT_TRUE(store.ReadFromXml(XmlSelectNodes(answer.AsNode(), QStringLiteral("/KWVD/docStore/store")).front()));
    store.ReadDetails(answer);
    return store;
}

struct Entry
{
    QString name;
    QString text;
    int code;
};

std::vector<Entry> Parameters(int from, int to)
{
    std::vector<Entry> entries;
    for (int n = from; n <= to; ++n)
        entries.push_back({QStringLiteral("Parameter%1").arg(n), QString(), 21505 + n});
    return entries;
}

std::vector<Entry> operator+(std::vector<Entry> a, const std::vector<Entry>& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const std::vector<Entry>& FixedTail()
{
    static const std::vector<Entry> tail = {
        {QStringLiteral("File Path"), QString(), 21501},
        {QStringLiteral("File Name"), QString(), 21502},
        {QStringLiteral("First Page"), QString(), 21487},
        {QStringLiteral("Description"), QString(), 21524},
    };
    return tail;
}

class DocStoreAddressFields : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterFrameworkClasses();
        RegisterDocumentClasses();
        RegisterResourceClasses();
        RegisterOutputClasses();
        RegisterOutputStrings();
        prefs.MasterOutputDeviceFileV2 = folder.filePath(QStringLiteral("wvdOutpV2.dat"));
        before = SetPreferences(&prefs);
        doc = std::make_unique<CDesignerDoc>();
        ASSERT_TRUE(doc->OnNewDocument());

        // The document's catalogue is filled the way a WVD file fills it.
        DocStore store = ArchiveStore();
        const Bytes bytes = Store([&](CArchive& ar) {
            ar.WriteCount(1);
            store.Serialize(ar);
        });
        CDocStoreManager* catalogue = doc->GetDocStoreManager();
        ASSERT_NE(catalogue, nullptr);
        Load(bytes, [&](CArchive& ar) {
            ar.m_pDocument = doc.get();
            catalogue->Serialize(ar);
        });
        ASSERT_NE(catalogue->FindStore(QStringLiteral("ARCHIVE")), nullptr);
    }
    void TearDown() override
    {
        doc.reset();
        SetPreferences(before);
    }

    QTemporaryDir folder;
    CPreferences prefs;
    CPreferences* before = nullptr;
    std::unique_ptr<CDesignerDoc> doc;
};

TEST_F(DocStoreAddressFields, KeysOfTheDocumentTypeComeFirst)
{
    const std::vector<Entry> threeKeys = {
        {QStringLiteral("AMOUNT key"), QStringLiteral("Decimal (9, 0) +Required"), 21506},
        {QStringLiteral("REF key"), QStringLiteral("Text (Max Length: 20) +Unique +Required"), 21507},
        {QStringLiteral("CUSTNO key"), QStringLiteral("Text (Length: 10)"), 21508},
    };
    std::vector<Entry> eighteenKeys;
    for (int i = 11; i <= 28; ++i)
        eighteenKeys.push_back({QStringLiteral("K%1 key").arg(i), QStringLiteral("Text (Length: 4)"), 21506 + i - 11});

    struct Case
    {
        const char* name;
        const char* store;
        const char* docType;
        std::vector<Entry> expected;
    };
    const Case cases[] = {
        {"three keys by sort index, the missing key skipped", "ARCHIVE", "INV",
         threeKeys + Parameters(4, 18) + FixedTail()},
        {"more than 18 keys: only the first 18", "ARCHIVE", "BIG", eighteenKeys + FixedTail()},
        {"document type without keys", "ARCHIVE", "NONE", Parameters(1, 18) + FixedTail()},
        {"document type not in the store", "ARCHIVE", "GONE", Parameters(1, 18) + FixedTail()},
        {"store not in the catalogue", "OTHER", "INV", Parameters(1, 18) + FixedTail()},
        {"store names are matched exactly", "archive", "INV", Parameters(1, 18) + FixedTail()},
    };
    COutputDeviceManager* manager = doc->GetOutputDeviceManager();
    ASSERT_NE(manager, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        COutputDevice device(7, QStringLiteral("STORE1"), QString());
        device.SetParameter(20, QStringLiteral("%1,%2,1,KWVD").arg(QLatin1String(c.store), QLatin1String(c.docType)));
        OutputDeviceAddressTypeList list;
        ASSERT_TRUE(manager->FillAddressTypes(&device, list));
        ASSERT_EQ(list.size(), c.expected.size());
        std::vector<int> codes;
        for (size_t i = 0; i < list.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(list[i].name, c.expected[i].name);
            EXPECT_EQ(list[i].text, c.expected[i].text);
            EXPECT_EQ(list[i].code, c.expected[i].code);
            codes.push_back(list[i].code);
        }
        // Each code stands for one device value only.
        std::sort(codes.begin(), codes.end());
        EXPECT_EQ(std::adjacent_find(codes.begin(), codes.end()), codes.end()) << "a code is offered twice";
    }
}

TEST_F(DocStoreAddressFields, SelectionWithoutCommasIsTheStoreAlone)
{
    COutputDevice device(7, QStringLiteral("STORE1"), QString());
    device.SetParameter(20, QStringLiteral("ARCHIVE"));
    OutputDeviceAddressTypeList list;
    ASSERT_TRUE(doc->GetOutputDeviceManager()->FillAddressTypes(&device, list));
    ASSERT_EQ(list.size(), 22u) << "no document type: no keys";
    EXPECT_EQ(list.front().name, QStringLiteral("Parameter1"));
}

} // namespace
