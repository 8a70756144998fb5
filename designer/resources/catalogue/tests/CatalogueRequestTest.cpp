// Refreshing the document-store catalogue from our fake catalogue server:
// the request addresses, what the catalogue holds after each kind of
// failure, and message 370 once per failed request.

#include "designer/document/DesignerDoc.h"
#include "designer/document/XmlHttp.h"
#include "designer/preferences/Preferences.h"
#include "designer/resources/catalogue/CatalogueStrings.h"
#include "designer/resources/catalogue/DocStoreManager.h"
#include "tests/fakes/dorrel/FakeDorrelServer.h"
#include "tests/support/ScopedPrompts.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using fakes::DorrelAnswer;
using fakes::FakeDorrelServer;
using fakes::FakeStore;

QString Q(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

const char* kInvoiceDetails =
    "<docStoreKeys>"
    "<docStoreKey><id>10</id><type>VARCHAR</type><name>CUST</name><description>Customer</description><size>20</size></"
    "docStoreKey>"
    "<docStoreKey><id>11</id><type>DATE</type><name>DUE</name><description>Due date</description></docStoreKey>"
    "</docStoreKeys>"
    "<documentTypes><documentType><id>5</id><name>INV</name><description>Invoice</description>"
    "<rootFolder>/inv</rootFolder><autoName>YES</autoName></documentType></documentTypes>"
    "<documentTypeKeys>"
    "<documentTypeKey><docTypeID>5</docTypeID><keyTableID>11</keyTableID><sortIndex>2</sortIndex></documentTypeKey>"
    "<documentTypeKey><docTypeID>5</docTypeID><keyTableID>10</keyTableID><sortIndex>1</sortIndex>"
    "<keyRequired>1</keyRequired></documentTypeKey>"
    "</documentTypeKeys>";

class CatalogueRequestTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        RegisterCatalogueStrings();
        prefs.DorrelAddress = Q(server->BaseUrl());
        previousPrefs = SetPreferences(&prefs);
        previousLimits = SetHttpLimits(HttpLimits());
    }

    void TearDown() override
    {
        SetHttpLimits(previousLimits);
        SetPreferences(previousPrefs);
    }

    std::vector<QString> Messages() const
    {
        std::vector<QString> texts;
        for (const RecordedPrompt& prompt : prompts->Recorded())
            texts.push_back(prompt.text);
        return texts;
    }

    static QString Message(const std::string& url, const char* error)
    {
        return Q("Failed to retrieve data from " + url + ".\nMessage: ") + QString::fromUtf8(error);
    }

    std::vector<QString> StoreNames() const
    {
        std::vector<QString> names;
        for (const DocStore& store : manager.GetStores())
            names.push_back(store.GetName());
        return names;
    }

    void ServeTwoStores()
    {
        server->AddStore({"Invoices", "All invoices", "INVLIB", kInvoiceDetails});
        server->AddStore({"Archive", "", "", ""});
    }

    std::unique_ptr<FakeDorrelServer> server = std::make_unique<FakeDorrelServer>("/dorrel");
    ScopedPromptAnswers prompts;
    CPreferences prefs;
    CPreferences* previousPrefs = nullptr;
    HttpLimits previousLimits;
    CDesignerDoc doc;
    CDocStoreManager manager{&doc};
};

TEST_F(CatalogueRequestTest, RefreshReadsTheStoreListThenEachStoresDetails)
{
    ServeTwoStores();
    ASSERT_TRUE(manager.RefreshStores());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(server->RequestPaths(),
              (std::vector<std::string>{"/dorrel/docStore/store/", "/dorrel/docStore/store/Invoices/docTypeKey/",
                                        "/dorrel/docStore/store/Archive/docTypeKey/"}));
    for (const fakes::DorrelRequest& request : server->Requests())
        EXPECT_EQ(request.Header("if-modified-since"), "Sat, 1 Jan 2000 00:00:00 GMT");

    EXPECT_EQ(StoreNames(), (std::vector<QString>{QStringLiteral("Invoices"), QStringLiteral("Archive")}));
    const DocStore* invoices = manager.FindStore(QStringLiteral("Invoices"));
    ASSERT_NE(invoices, nullptr);
    EXPECT_EQ(invoices->GetDescription(), QStringLiteral("All invoices"));
    EXPECT_EQ(invoices->GetLibrary(), QStringLiteral("INVLIB"));
    ASSERT_EQ(invoices->GetDocTypes().size(), 1u);
    EXPECT_EQ(invoices->GetDocTypes()[0].GetRootFolder(), QStringLiteral("/inv"));
    EXPECT_EQ(invoices->GetDocTypes()[0].GetAutoName(), 1);

    std::vector<DocTypeKey> keys;
    invoices->GetDocTypeKeys(QStringLiteral("INV"), keys);
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].key->GetDescription(), QStringLiteral("Customer"));
    EXPECT_EQ(keys[0].GetDescription(), QStringLiteral("Text (Max Length: 20) +Required"));
    EXPECT_EQ(keys[1].GetDescription(), QStringLiteral("Date (Format: YYYY-MM-DD)"));

    EXPECT_TRUE(manager.FindStore(QStringLiteral("Archive"))->GetKeys().empty());
}

TEST_F(CatalogueRequestTest, StoreNamesAreEncodedAndABaseEndingInASlashGivesNoDoubleSlash)
{
    prefs.DorrelAddress = Q(server->BaseUrl() + "/");
    server->AddStore({"Ma Caf\xC3\xA9/1", "", "", kInvoiceDetails});
    ASSERT_TRUE(manager.RefreshStores());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(
        server->RequestPaths(),
        (std::vector<std::string>{"/dorrel/docStore/store/", "/dorrel/docStore/store/Ma%20Caf%C3%A9%2F1/docTypeKey/"}));
    ASSERT_EQ(manager.GetStores().size(), 1u);
    EXPECT_EQ(manager.GetStores()[0].GetName(), QString::fromUtf8("Ma Caf\xC3\xA9/1"));
    EXPECT_EQ(manager.GetStores()[0].GetKeys().size(), 2u);
}

TEST_F(CatalogueRequestTest, FailedStoreListKeepsTheCatalogueAndShowsOneMessage)
{
    ServeTwoStores();
    ASSERT_TRUE(manager.RefreshStores());
    const std::string listUrl = server->BaseUrl() + "/docStore/store/";

    struct Case
    {
        const char* name;
        DorrelAnswer answer;
        const char* error;
    };
    const Case cases[] = {
        {"not found", DorrelAnswer::Status(404, "Not Found"), "HTTP Request returned 404, Not Found"},
        {"server error", DorrelAnswer::Status(500, "Internal Server Error"),
         "HTTP Request returned 500, Internal Server Error"},
        {"not XML", DorrelAnswer::Xml("<html><body>oops", "text/html"), "Failed to get_responseText"},
        {"closed", DorrelAnswer::Close(), "Send Failed: 52, Server returned nothing (no headers, no data), "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        server->Script(server->StoreListPath(), c.answer);
        const size_t requestsBefore = server->Requests().size();
        const size_t messagesBefore = Messages().size();

        EXPECT_FALSE(manager.RefreshStores());
        ASSERT_EQ(Messages().size(), messagesBefore + 1);
        EXPECT_EQ(Messages().back(), Message(listUrl, c.error));
        EXPECT_EQ(prompts->Recorded().back().Buttons(), MB_OK);
        EXPECT_EQ(server->Requests().size(), requestsBefore + 1); // no details requests
        EXPECT_EQ(StoreNames(), (std::vector<QString>{QStringLiteral("Invoices"), QStringLiteral("Archive")}));
        EXPECT_EQ(manager.FindStore(QStringLiteral("Invoices"))->GetKeys().size(), 2u);
    }
}

TEST_F(CatalogueRequestTest, UnreachableServerShowsExactlyOneMessage)
{
    ServeTwoStores();
    ASSERT_TRUE(manager.RefreshStores());
    const std::string listUrl = server->BaseUrl() + "/docStore/store/";
    server.reset(); // nobody listens on the port any more

    EXPECT_FALSE(manager.RefreshStores());
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0], Message(listUrl, "Send Failed: 7, Couldn't connect to server, "));
    EXPECT_EQ(manager.GetStores().size(), 2u);
}

TEST_F(CatalogueRequestTest, EachFailedDetailsRequestShowsItsMessageAndTheStoreKeepsItsDetails)
{
    server->AddStore({"One", "", "", kInvoiceDetails});
    server->AddStore({"Two", "", "", kInvoiceDetails});
    server->AddStore({"Three", "", "", kInvoiceDetails});
    ASSERT_TRUE(manager.RefreshStores());
    ASSERT_TRUE(Messages().empty());

    HttpLimits shortWait;
    shortWait.totalTimeoutMs = 300;
    SetHttpLimits(shortWait);
    server->Script(server->DetailsPath("One"), DorrelAnswer::Status(404, "Not Found"));
    server->Script(server->DetailsPath("Two"), DorrelAnswer::Xml("not xml at all", "text/plain"));
    server->Script(server->DetailsPath("Three"), DorrelAnswer::Stall());

    EXPECT_TRUE(manager.RefreshStores());
    const std::string base = server->BaseUrl();
    EXPECT_EQ(Messages(),
              (std::vector<QString>{
                  Message(base + "/docStore/store/One/docTypeKey/", "HTTP Request returned 404, Not Found"),
                  Message(base + "/docStore/store/Two/docTypeKey/", "Failed to get_responseText"),
                  Message(base + "/docStore/store/Three/docTypeKey/", "Send Failed: 28, Timeout was reached, "),
              }));
    EXPECT_EQ(StoreNames(),
              (std::vector<QString>{QStringLiteral("One"), QStringLiteral("Two"), QStringLiteral("Three")}));
    for (const DocStore& store : manager.GetStores()) {
        SCOPED_TRACE(store.GetName().toStdString());
        EXPECT_EQ(store.GetKeys().size(), 2u);
        EXPECT_EQ(store.GetDocTypes().size(), 1u);
        EXPECT_EQ(store.GetRelations().size(), 2u);
    }
}

TEST_F(CatalogueRequestTest, AnswersWithoutTheExpectedElementsAreReadSilently)
{
    server->AddStore({"Kept", "", "", kInvoiceDetails});
    server->AddStore({"Emptied", "", "", kInvoiceDetails});
    ASSERT_TRUE(manager.RefreshStores());

    // A new list: a store without a name is skipped, one with an empty name stays.
    server->Script(server->StoreListPath(), DorrelAnswer::Xml("<KWVD><docStore>"
                                                              "<store><description>no name</description></store>"
                                                              "<store><name>Kept</name></store>"
                                                              "<store><name/></store>"
                                                              "<store><name>Emptied</name></store>"
                                                              "</docStore></KWVD>"));
    server->Script(server->DetailsPath("Emptied"), DorrelAnswer::Xml("<Other><store/></Other>"));
    server->Script(server->DetailsPath(""), DorrelAnswer::Xml("<KWVD/>"));

    EXPECT_TRUE(manager.RefreshStores());
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(StoreNames(), (std::vector<QString>{QStringLiteral("Kept"), QString(), QStringLiteral("Emptied")}));
    EXPECT_EQ(manager.FindStore(QStringLiteral("Kept"))->GetKeys().size(), 2u);
    // The answer arrived, so what it lacks is gone.
    EXPECT_TRUE(manager.FindStore(QStringLiteral("Emptied"))->GetKeys().empty());
    EXPECT_TRUE(manager.FindStore(QStringLiteral("Emptied"))->GetRelations().empty());

    // A list answer that is XML of another shape empties the catalogue, silently.
    server->Script(server->StoreListPath(), DorrelAnswer::Xml("<KWVD><stores/></KWVD>"));
    EXPECT_TRUE(manager.RefreshStores());
    EXPECT_TRUE(manager.GetStores().empty());
    EXPECT_TRUE(Messages().empty());
}

TEST_F(CatalogueRequestTest, RepeatedDetailsRequestsReplaceRatherThanAppend)
{
    server->AddStore({"Invoices", "", "", kInvoiceDetails});
    ASSERT_TRUE(manager.RefreshStores());
    ASSERT_TRUE(manager.LoadAllStoreDetails());
    const DocStore& store = manager.GetStores()[0];
    EXPECT_EQ(store.GetKeys().size(), 2u);
    EXPECT_EQ(store.GetRelations().size(), 2u);
}

TEST_F(CatalogueRequestTest, WithoutADocumentNothingIsRequested)
{
    ServeTwoStores();
    CDocStoreManager orphan;
    EXPECT_FALSE(orphan.RefreshStores());
    EXPECT_FALSE(orphan.LoadAllStoreDetails());
    EXPECT_TRUE(server->Requests().empty());
    EXPECT_TRUE(Messages().empty());
}

} // namespace
