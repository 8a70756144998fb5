#pragma once
// Small helpers over libcurl and libxml2: one blocking HTTP GET that hands
// back the answer as a parsed XML document, readers of DOM nodes (the text
// of the first node an XPath expression selects, the value of an attribute)
// and the percent-encoding of one URL path component.
//
// None of them throws: every failure ends in FALSE and, for HttpGetXml, a
// one-line error text. XML is parsed without network access, without
// loading external entities or a DTD and without validation.

#include "platform/framework/Types.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <vector>

struct _xmlDoc;
struct _xmlNode;
typedef struct _xmlDoc xmlDoc;
typedef struct _xmlNode xmlNode;

// Owns one libxml2 document; empty (null) or holding a parsed one.
class XmlDocument
{
public:
    XmlDocument() = default;
    // Takes ownership of the document.
    explicit XmlDocument(xmlDoc* document) : m_doc(document) {}
    ~XmlDocument();

    XmlDocument(XmlDocument&& other) noexcept : m_doc(other.Release()) {}
    XmlDocument& operator=(XmlDocument&& other) noexcept;
    XmlDocument(const XmlDocument&) = delete;
    XmlDocument& operator=(const XmlDocument&) = delete;

    // Parses the bytes as XML. encoding (a charset name, may be null) is
    // used only when the bytes carry no XML declaration and no byte-order
    // mark; a name libxml2 does not know is ignored. An empty document
    // when the bytes are not well-formed XML.
    static XmlDocument Parse(const char* data, std::size_t size, const char* encoding = nullptr);
    static XmlDocument Parse(const QByteArray& bytes, const char* encoding = nullptr);

    bool IsNull() const { return m_doc == nullptr; }
    explicit operator bool() const { return m_doc != nullptr; }

    xmlDoc* Get() const { return m_doc; }
    // The document node itself, as the context of absolute paths.
    xmlNode* AsNode() const;
    // The root element, or null.
    xmlNode* Root() const;

    void Reset(xmlDoc* document = nullptr);
    xmlDoc* Release();

private:
    xmlDoc* m_doc = nullptr;
};

// Limits of every request. The defaults are what the designer runs with;
// tests shorten them to reach a time-out quickly.
struct HttpLimits
{
    long connectTimeoutMs = 5000;
    long totalTimeoutMs = 20000;
    std::size_t maxBodyBytes = 16u * 1024u * 1024u;
    long maxRedirects = 5;
};

// Installs the limits of the requests that follow; returns those before.
HttpLimits SetHttpLimits(const HttpLimits& limits);

// One GET of the url with the headers "If-Modified-Since" and "charset".
// TRUE: document holds the answer's XML (what it held before is freed) and
// error is untouched. FALSE: error holds one of
//   "Failed to create XMLHttpRequest"    no transfer handle could be made
//   "Failed to open XMLHTTPRequest"      the transfer could not be set up
//   "Open Failed: %d, %s, %s"            the address is refused (code, text, status text)
//   "Failed to setRequestHeader"         the headers could not be set
//   "Failed to send http request"        the transfer options were refused
//   "Send Failed: %d, %s, %s"            the transfer failed (code, text, status text)
//   "HTTP Request returned %d, %s"       a status other than 200, with its reason phrase
//   "Failed to get_responseText"         a 200 answer that is not XML (document is then null)
// In the other failures the document is left as it was. Redirects are
// followed over http only, up to HttpLimits::maxRedirects.
BOOL HttpGetXml(const QString& url, XmlDocument& document, QString& error);

// The text content of the first node the XPath expression selects from the
// node (relative to it, or absolute). FALSE with text untouched when it
// selects nothing, the expression is not valid or the node is null.
BOOL XmlSelectNodeText(xmlNode* node, const QString& path, QString& text);

// Every node the expression selects from the node, in document order; empty
// when it selects nothing or is not valid.
std::vector<xmlNode*> XmlSelectNodes(xmlNode* node, const QString& path);

// value is emptied first. TRUE with the value of the node's attribute of
// that name. A qualified name ("dt:type") is matched by namespace: its
// prefix is resolved among the namespaces in scope at the node, and an
// attribute of that namespace with the same local name matches whatever
// prefix it carries. FALSE for a null node or a missing attribute.
BOOL XmlGetAttributeValue(xmlNode* node, const QString& name, QString& value);

// The text in UTF-8 with every byte other than A-Z, a-z, 0-9 and
// "-_.!~*'()" written as "%" and two upper-case hexadecimal digits.
QString UrlEncodeComponent(const QString& text);
