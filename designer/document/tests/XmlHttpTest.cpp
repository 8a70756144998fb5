// The HTTP GET with its headers and every outcome, against our own fake
// catalogue server on 127.0.0.1; the DOM readers; the URL encoding.

#include "designer/document/XmlHttp.h"
#include "tests/fakes/dorrel/FakeDorrelServer.h"
#include "tests/support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

namespace {

using fakes::DorrelAnswer;
using fakes::FakeDorrelServer;

QString Q(const std::string& utf8)
{
    return QString::fromStdString(utf8);
}

XmlDocument ParseText(const char* xml)
{
    return XmlDocument::Parse(xml, std::strlen(xml));
}

// ---- UrlEncodeComponent -------------------------------------------------

TEST(UrlEncodeComponent, KeepsTheUnreservedSetAndEncodesEveryOtherUtf8Byte)
{
    struct Case
    {
        const char* name;
        QString text;
        const char* encoded;
    };
    const Case cases[] = {
        {"empty", QString(), ""},
        {"letters and digits", QStringLiteral("abcXYZ0189"), "abcXYZ0189"},
        {"the nine marks", QStringLiteral("-_.!~*'()"), "-_.!~*'()"},
        {"blank", QStringLiteral(" "), "%20"},
        {"slash", QStringLiteral("a/b"), "a%2Fb"},
        {"query characters", QStringLiteral("a+b&c=d?#"), "a%2Bb%26c%3Dd%3F%23"},
        {"percent", QStringLiteral("100%"), "100%25"},
        {"e acute, two bytes", QString::fromUtf8("\xC3\xA9"), "%C3%A9"},
        {"euro sign, three bytes", QString::fromUtf8("\xE2\x82\xAC"), "%E2%82%AC"},
        {"outside the basic plane, four bytes", QString::fromUtf8("\xF0\x9F\x98\x80"), "%F0%9F%98%80"},
        {"control character", QStringLiteral("\t"), "%09"},
        {"store name", QString::fromUtf8("Ma Caf\xC3\xA9"), "Ma%20Caf%C3%A9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(UrlEncodeComponent(c.text), QString::fromLatin1(c.encoded));
    }
}

// ---- DOM readers --------------------------------------------------------

TEST(XmlSelectNodeText, FirstSelectedNodeGivesItsWholeTextContent)
{
    const XmlDocument doc = ParseText("<KWVD><store id='7'><name>First</name><name>Second</name>"
                                      "<mixed>a<b>b</b>c</mixed><empty/></store></KWVD>");
    ASSERT_FALSE(doc.IsNull());
    const std::vector<xmlNode*> stores = XmlSelectNodes(doc.AsNode(), QStringLiteral("/KWVD/store"));
    ASSERT_EQ(stores.size(), 1u);
    xmlNode* store = stores.front();

    struct Case
    {
        const char* name;
        xmlNode* node;
        const char* path;
        std::optional<const char*> text; // nothing: FALSE and the text untouched
    };
    const Case cases[] = {
        {"relative child, first of two", store, "name", "First"},
        {"absolute from a child node", store, "/KWVD/store/name[2]", "Second"},
        {"descendants' text joined", store, "mixed", "abc"},
        {"empty element counts as found", store, "empty", ""},
        {"attribute", store, "@id", "7"},
        {"nothing selected", store, "missing", std::nullopt},
        {"invalid expression", store, "name[", std::nullopt},
        {"result that is no node set", store, "count(name)", std::nullopt},
        {"null node", nullptr, "name", std::nullopt},
        {"empty expression", store, "", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QString text = QStringLiteral("before");
        const BOOL found = XmlSelectNodeText(c.node, QString::fromLatin1(c.path), text);
        if (c.text) {
            EXPECT_TRUE(found);
            EXPECT_EQ(text, QString::fromUtf8(*c.text));
        } else {
            EXPECT_FALSE(found);
            EXPECT_EQ(text, QStringLiteral("before"));
        }
    }
}

TEST(XmlGetAttributeValue, FindsPlainAndQualifiedNamesAndEmptiesTheValueWhenMissing)
{
    const XmlDocument doc = ParseText(
        "<Schema xmlns:dt='urn:schemas-microsoft-com:datatypes' xmlns:al='urn:schemas-microsoft-com:datatypes'>"
        "<plain name='Order' type='flat'/>"
        "<typed dt:type='int'/>"
        "<aliased al:type='string'/>"
        "<other xmlns:dt='urn:other' dt:type='float'/>"
        "<bare zz:type='raw'/>"
        "<escaped title='a &amp; b'/>"
        "</Schema>");
    ASSERT_FALSE(doc.IsNull());
    auto element = [&](const char* name) {
        const std::vector<xmlNode*> nodes = XmlSelectNodes(doc.Root(), QString::fromLatin1(name));
        return nodes.empty() ? nullptr : nodes.front();
    };

    struct Case
    {
        const char* name;
        const char* element;
        const char* attribute;
        std::optional<const char*> value;
    };
    const Case cases[] = {
        {"plain name", "plain", "name", "Order"},
        {"second plain name", "plain", "type", "flat"},
        {"missing name", "plain", "size", std::nullopt},
        {"names are case-sensitive", "plain", "Name", std::nullopt},
        {"qualified name", "typed", "dt:type", "int"},
        {"local name alone does not match a qualified one", "typed", "type", std::nullopt},
        {"other prefix bound to the same namespace", "aliased", "dt:type", "string"},
        {"prefix rebound to another namespace", "other", "dt:type", "float"},
        {"undeclared prefix kept whole", "bare", "zz:type", "raw"},
        {"entity resolved in the value", "escaped", "title", "a & b"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        xmlNode* node = element(c.element);
        ASSERT_NE(node, nullptr);
        QString value = QStringLiteral("stale");
        const BOOL found = XmlGetAttributeValue(node, QString::fromLatin1(c.attribute), value);
        EXPECT_EQ(found != FALSE, c.value.has_value());
        EXPECT_EQ(value, c.value ? QString::fromUtf8(*c.value) : QString());
    }

    QString value = QStringLiteral("stale");
    EXPECT_FALSE(XmlGetAttributeValue(nullptr, QStringLiteral("name"), value));
    EXPECT_TRUE(value.isEmpty());
}

TEST(XmlDocumentParse, NeitherLoadsExternalEntitiesNorExpandsWithoutBound)
{
    const char* external =
        "<!DOCTYPE KWVD [<!ENTITY secret SYSTEM 'file:///etc/hostname'>]><KWVD><v>&secret;</v></KWVD>";
    const XmlDocument withExternal = ParseText(external);
    ASSERT_FALSE(withExternal.IsNull());
    QString text = QStringLiteral("x");
    ASSERT_TRUE(XmlSelectNodeText(withExternal.AsNode(), QStringLiteral("/KWVD/v"), text));
    EXPECT_TRUE(text.isEmpty()) << text.toStdString();

    // Nested internal entities that would grow to gigabytes.
    std::string bomb = "<!DOCTYPE KWVD [<!ENTITY a0 'aaaaaaaaaa'>";
    for (int i = 1; i < 10; ++i) {
        bomb += "<!ENTITY a" + std::to_string(i) + " '";
        for (int j = 0; j < 10; ++j)
            bomb += "&a" + std::to_string(i - 1) + ";";
        bomb += "'>";
    }
    bomb += "]><KWVD>&a9;</KWVD>";
    EXPECT_TRUE(XmlDocument::Parse(bomb.data(), bomb.size()).IsNull());
}

// ---- HttpGetXml ---------------------------------------------------------

class HttpGetXmlTest : public ::testing::Test
{
protected:
    void SetUp() override { previousLimits = SetHttpLimits(HttpLimits()); }
    void TearDown() override { SetHttpLimits(previousLimits); }

    QString Url(const std::string& path) const { return Q("http://127.0.0.1:" + std::to_string(server.Port()) + path); }

    FakeDorrelServer server;
    HttpLimits previousLimits;
};

TEST_F(HttpGetXmlTest, OkAnswerGivesTheDocumentAndSendsTheHeaders)
{
    server.Script("/ok", DorrelAnswer::Xml("<KWVD><docStore/></KWVD>"));
    XmlDocument doc;
    QString error = QStringLiteral("untouched");
    ASSERT_TRUE(HttpGetXml(Url("/ok"), doc, error));
    EXPECT_EQ(error, QStringLiteral("untouched"));
    ASSERT_NE(doc.Root(), nullptr);
    QString text = QStringLiteral("x");
    EXPECT_TRUE(XmlSelectNodeText(doc.AsNode(), QStringLiteral("/KWVD/docStore"), text));

    const std::vector<fakes::DorrelRequest> requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].path, "/ok");
    EXPECT_EQ(requests[0].Header("if-modified-since"), "Sat, 1 Jan 2000 00:00:00 GMT");
    EXPECT_EQ(requests[0].Header("charset"), "utf-8");
}

TEST_F(HttpGetXmlTest, FailedAnswersGiveTheirTexts)
{
    struct Case
    {
        const char* name;
        DorrelAnswer answer;
        const char* error;
        bool documentCleared; // the answer came with 200 but held no XML
    };
    const Case cases[] = {
        {"not modified", DorrelAnswer::Status(304, "Not Modified"), "HTTP Request returned 304, Not Modified", false},
        {"not found", DorrelAnswer::Status(404, "Not Found"), "HTTP Request returned 404, Not Found", false},
        {"server error", DorrelAnswer::Status(500, "Internal Server Error", "<KWVD/>"),
         "HTTP Request returned 500, Internal Server Error", false},
        {"reason phrase of the server's own", DorrelAnswer::Status(503, "Catalogue Asleep"),
         "HTTP Request returned 503, Catalogue Asleep", false},
        {"redirect without a location", DorrelAnswer::Status(301, "Moved Permanently"),
         "HTTP Request returned 301, Moved Permanently", false},
        {"not XML", DorrelAnswer::Xml("this is not <xml", "text/plain"), "Failed to get_responseText", true},
        {"empty body", DorrelAnswer::Xml(""), "Failed to get_responseText", true},
        {"closed without an answer", DorrelAnswer::Close(),
         "Send Failed: 52, Server returned nothing (no headers, no data), ", false},
        {"oversized with a length", DorrelAnswer::Oversized(16u * 1024u * 1024u, false),
         "Send Failed: 63, Maximum file size exceeded, OK", false},
        {"oversized in chunks", DorrelAnswer::Oversized(16u * 1024u * 1024u, true),
         "Send Failed: 63, Maximum file size exceeded, OK", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = std::string("/case/") + std::to_string(&c - cases);
        server.Script(path, c.answer);
        XmlDocument doc = ParseText("<previous/>");
        QString error;
        EXPECT_FALSE(HttpGetXml(Url(path), doc, error));
        EXPECT_EQ(error, QString::fromLatin1(c.error));
        EXPECT_EQ(doc.IsNull(), c.documentCleared);
    }
}

TEST_F(HttpGetXmlTest, StalledAnswerEndsAtTheTotalTimeOut)
{
    HttpLimits shortWait;
    shortWait.totalTimeoutMs = 300;
    SetHttpLimits(shortWait);
    server.Script("/stall", DorrelAnswer::Stall());
    XmlDocument doc;
    QString error;
    EXPECT_FALSE(HttpGetXml(Url("/stall"), doc, error));
    EXPECT_EQ(error, QStringLiteral("Send Failed: 28, Timeout was reached, "));
}

TEST_F(HttpGetXmlTest, BodyCapIsInclusive)
{
    const std::string xml = "<KWVD>" + std::string(100, 'x') + "</KWVD>";
    server.Script("/capped", DorrelAnswer::Xml(xml));
    HttpLimits limits;
    limits.maxBodyBytes = xml.size();
    SetHttpLimits(limits);
    XmlDocument doc;
    QString error;
    EXPECT_TRUE(HttpGetXml(Url("/capped"), doc, error)) << error.toStdString();

    limits.maxBodyBytes = xml.size() - 1;
    SetHttpLimits(limits);
    EXPECT_FALSE(HttpGetXml(Url("/capped"), doc, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Send Failed: 63, "))) << error.toStdString();
}

TEST_F(HttpGetXmlTest, RedirectsAreFollowedOverHttpOnlyAndBounded)
{
    server.Script("/old", DorrelAnswer::Redirect("/new"));
    server.Script("/new", DorrelAnswer::Xml("<KWVD/>"));
    XmlDocument doc;
    QString error;
    EXPECT_TRUE(HttpGetXml(Url("/old"), doc, error)) << error.toStdString();
    EXPECT_EQ(server.RequestPaths(), (std::vector<std::string>{"/old", "/new"}));

    server.Script("/loop", DorrelAnswer::Redirect("/loop"));
    EXPECT_FALSE(HttpGetXml(Url("/loop"), doc, error));
    EXPECT_EQ(error, QStringLiteral("Send Failed: 47, Number of redirects hit maximum amount, Moved Permanently"));

    server.Script("/to-file", DorrelAnswer::Redirect("file:///etc/hostname", 302, "Found"));
    EXPECT_FALSE(HttpGetXml(Url("/to-file"), doc, error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("Send Failed: 1, "))) << error.toStdString();
}

TEST_F(HttpGetXmlTest, CharsetOfTheAnswerCountsOnlyWithoutADeclaration)
{
    struct Case
    {
        const char* name;
        std::string body;
        const char* contentType;
        const char* text; // of /KWVD, UTF-8
    };
    const Case cases[] = {
        {"Latin-1 bytes named by the content type", "<KWVD>caf\xE9</KWVD>", "text/xml; charset=ISO-8859-1",
         "caf\xC3\xA9"},
        {"quoted charset", "<KWVD>caf\xE9</KWVD>", "text/xml; charset=\"iso-8859-1\"", "caf\xC3\xA9"},
        {"declaration wins over the content type", "<?xml version=\"1.0\" encoding=\"UTF-8\"?><KWVD>caf\xC3\xA9</KWVD>",
         "text/xml; charset=ISO-8859-1", "caf\xC3\xA9"},
        {"unknown charset is ignored", "<KWVD>plain</KWVD>", "text/xml; charset=x-no-such-set", "plain"},
        {"no charset means UTF-8", "<KWVD>caf\xC3\xA9</KWVD>", "text/xml", "caf\xC3\xA9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = "/charset/" + std::to_string(&c - cases);
        server.Script(path, DorrelAnswer::Xml(c.body, c.contentType));
        XmlDocument doc;
        QString error;
        ASSERT_TRUE(HttpGetXml(Url(path), doc, error)) << error.toStdString();
        QString text;
        ASSERT_TRUE(XmlSelectNodeText(doc.AsNode(), QStringLiteral("/KWVD"), text));
        EXPECT_EQ(text, QString::fromUtf8(c.text));
    }
}

TEST(HttpGetXml, AddressesThatCannotBeOpenedOrReached)
{
    int closedPort = 0;
    {
        FakeDorrelServer gone;
        closedPort = gone.Port();
    }
    struct Case
    {
        const char* name;
        QString url;
        QString errorStart;
    };
    const Case cases[] = {
        {"not an address", QStringLiteral("no address at all"), QStringLiteral("Open Failed: ")},
        {"scheme other than http", QStringLiteral("file:///etc/hostname"),
         QStringLiteral("Open Failed: 5, Unsupported URL scheme, ")},
        {"nobody listening", Q("http://127.0.0.1:" + std::to_string(closedPort) + "/docStore/store/"),
         QStringLiteral("Send Failed: 7, Couldn't connect to server, ")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        XmlDocument doc = ParseText("<kept/>");
        QString error;
        EXPECT_FALSE(HttpGetXml(c.url, doc, error));
        EXPECT_TRUE(error.startsWith(c.errorStart)) << error.toStdString();
        EXPECT_FALSE(doc.IsNull());
    }
}

TEST_F(HttpGetXmlTest, ProxyOfTheEnvironmentIsNotUsedForThisMachine)
{
    const ScopedEnv proxy("http_proxy", QStringLiteral("http://127.0.0.1:9"));
    server.Script("/direct", DorrelAnswer::Xml("<KWVD/>"));
    XmlDocument doc;
    QString error;
    const BOOL ok = HttpGetXml(Url("/direct"), doc, error);
    EXPECT_TRUE(ok) << error.toStdString();
    EXPECT_EQ(server.RequestPaths(), std::vector<std::string>{"/direct"});
}

} // namespace
