#include "designer/document/XmlHttp.h"

#include <curl/curl.h>
#include <libxml/encoding.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <libxml/xpath.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

namespace {

// Parsed answers never reach out: no network, no DTD loading, no entity
// substitution, and no messages on stderr.
constexpr int kParseOptions = XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

constexpr std::size_t kMaxHeaderText = 256;

std::mutex g_limitsMutex;
HttpLimits g_limits;

void InitialiseLibraries()
{
    static std::once_flag once;
    std::call_once(once, [] {
        curl_global_init(CURL_GLOBAL_DEFAULT);
        xmlInitParser();
    });
}

HttpLimits CurrentLimits()
{
    std::lock_guard<std::mutex> lock(g_limitsMutex);
    return g_limits;
}

QString FromXmlChars(const xmlChar* text)
{
    return text ? QString::fromUtf8(reinterpret_cast<const char*>(text)) : QString();
}

QString OwnedXmlText(xmlChar* text)
{
    QString result = FromXmlChars(text);
    xmlFree(text);
    return result;
}

bool StartsWith(const char* data, std::size_t size, std::string_view prefix)
{
    return size >= prefix.size() && std::memcmp(data, prefix.data(), prefix.size()) == 0;
}

// A declaration or a byte-order mark tells the parser the encoding itself;
// only bare text takes the charset of the answer.
bool NamesOwnEncoding(const char* data, std::size_t size)
{
    if (StartsWith(data, size, "\xEF\xBB\xBF") || StartsWith(data, size, "\xFE\xFF")
        || StartsWith(data, size, "\xFF\xFE"))
        return true;
    if (!StartsWith(data, size, "<?xml") || size < 6)
        return false;
    const char next = data[5];
    return next == ' ' || next == '\t' || next == '\r' || next == '\n' || next == '?';
}

bool IsKnownEncoding(const char* name)
{
    xmlCharEncodingHandlerPtr handler = xmlFindCharEncodingHandler(name);
    if (handler == nullptr)
        return false;
    xmlCharEncCloseFunc(handler);
    return true;
}

void SilentXPathError(void*, xmlErrorPtr) {}

// The XPath result of the expression from the node, or null.
xmlXPathObjectPtr EvaluatePath(xmlNode* node, const QString& path)
{
    if (node == nullptr || node->doc == nullptr || path.isEmpty())
        return nullptr;
    InitialiseLibraries();
    xmlXPathContextPtr context = xmlXPathNewContext(node->doc);
    if (context == nullptr)
        return nullptr;
    context->node = node;
    context->error = &SilentXPathError;
    const QByteArray expression = path.toUtf8();
    xmlXPathObjectPtr result = xmlXPathEval(reinterpret_cast<const xmlChar*>(expression.constData()), context);
    xmlXPathFreeContext(context);
    if (result != nullptr && (result->type != XPATH_NODESET || result->nodesetval == nullptr)) {
        xmlXPathFreeObject(result);
        return nullptr;
    }
    return result;
}

// ---- the transfer ------------------------------------------------------

struct Transfer
{
    std::size_t maxBody = 0;
    std::string body;
    bool bodyTooLarge = false;
    std::string reason;      // reason phrase of the last status line
    std::string contentType; // of the last answer
};

size_t OnBody(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    if (bytes > transfer->maxBody - transfer->body.size()) {
        transfer->bodyTooLarge = true;
        return 0; // ends the transfer
    }
    transfer->body.append(data, bytes);
    return bytes;
}

std::string Trimmed(std::string_view text)
{
    const char* blanks = " \t\r\n";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    const size_t last = text.find_last_not_of(blanks);
    return std::string(text.substr(first, last - first + 1));
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z')
            x = static_cast<char>(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z')
            y = static_cast<char>(y - 'A' + 'a');
        if (x != y)
            return false;
    }
    return true;
}

size_t OnHeader(char* data, size_t size, size_t count, void* user)
{
    auto* transfer = static_cast<Transfer*>(user);
    const size_t bytes = size * count;
    const std::string_view line(data, bytes);
    if (line.size() >= 5 && line.substr(0, 5) == "HTTP/") {
        // A new answer (after a redirect or an interim one): forget the last.
        transfer->reason.clear();
        transfer->contentType.clear();
        const size_t codeStart = line.find(' ');
        if (codeStart != std::string_view::npos) {
            const size_t reasonStart = line.find(' ', codeStart + 1);
            if (reasonStart != std::string_view::npos)
                transfer->reason = Trimmed(line.substr(reasonStart + 1)).substr(0, kMaxHeaderText);
        }
        return bytes;
    }
    const size_t colon = line.find(':');
    if (colon != std::string_view::npos && EqualsNoCase(Trimmed(line.substr(0, colon)), "content-type"))
        transfer->contentType = Trimmed(line.substr(colon + 1)).substr(0, kMaxHeaderText);
    return bytes;
}

// The charset parameter of a content type, when it is a plausible name.
std::string CharsetOf(const std::string& contentType)
{
    size_t pos = contentType.find(';');
    while (pos != std::string::npos) {
        const size_t next = contentType.find(';', pos + 1);
        const std::string parameter =
            Trimmed(std::string_view(contentType)
                        .substr(pos + 1, next == std::string::npos ? std::string::npos : next - pos - 1));
        const size_t equals = parameter.find('=');
        if (equals != std::string::npos
            && EqualsNoCase(Trimmed(std::string_view(parameter).substr(0, equals)), "charset")) {
            std::string value = Trimmed(std::string_view(parameter).substr(equals + 1));
            if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
                value = value.substr(1, value.size() - 2);
            if (value.empty() || value.size() > 40)
                return {};
            for (char c : value) {
                const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')
                                     || c == '-' || c == '_' || c == '.' || c == ':';
                if (!allowed)
                    return {};
            }
            return value;
        }
        pos = next;
    }
    return {};
}

// The names of our own machine never go through a proxy of the environment;
// the user's own exceptions are kept.
std::string NoProxyList()
{
    std::string list = "127.0.0.1,localhost,::1";
    for (const char* name : {"no_proxy", "NO_PROXY"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            list += ',';
            list += value;
            break;
        }
    }
    return list;
}

QString CurlText(CURLcode code)
{
    return QString::fromUtf8(curl_easy_strerror(code));
}

struct CurlHandles
{
    CURL* easy = nullptr;
    CURLU* url = nullptr;
    curl_slist* headers = nullptr;

    ~CurlHandles()
    {
        if (easy != nullptr)
            curl_easy_cleanup(easy);
        if (url != nullptr)
            curl_url_cleanup(url);
        curl_slist_free_all(headers);
    }
};

bool IsHttpScheme(CURLU* url)
{
    char* scheme = nullptr;
    if (curl_url_get(url, CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK || scheme == nullptr)
        return false;
    const bool ok = EqualsNoCase(scheme, "http") || EqualsNoCase(scheme, "https");
    curl_free(scheme);
    return ok;
}

} // namespace

// ---- XmlDocument -------------------------------------------------------

XmlDocument::~XmlDocument()
{
    Reset();
}

XmlDocument& XmlDocument::operator=(XmlDocument&& other) noexcept
{
    if (this != &other)
        Reset(other.Release());
    return *this;
}

XmlDocument XmlDocument::Parse(const char* data, std::size_t size, const char* encoding)
{
    if (data == nullptr || size == 0 || size > static_cast<std::size_t>(INT_MAX))
        return XmlDocument();
    InitialiseLibraries();
    const char* useEncoding = nullptr;
    if (encoding != nullptr && *encoding != '\0' && !NamesOwnEncoding(data, size) && IsKnownEncoding(encoding))
        useEncoding = encoding;
    return XmlDocument(xmlReadMemory(data, static_cast<int>(size), nullptr, useEncoding, kParseOptions));
}

XmlDocument XmlDocument::Parse(const QByteArray& bytes, const char* encoding)
{
    return Parse(bytes.constData(), static_cast<std::size_t>(bytes.size()), encoding);
}

xmlNode* XmlDocument::AsNode() const
{
    return reinterpret_cast<xmlNode*>(m_doc);
}

xmlNode* XmlDocument::Root() const
{
    return m_doc ? xmlDocGetRootElement(m_doc) : nullptr;
}

void XmlDocument::Reset(xmlDoc* document)
{
    if (m_doc != nullptr && m_doc != document)
        xmlFreeDoc(m_doc);
    m_doc = document;
}

xmlDoc* XmlDocument::Release()
{
    xmlDoc* document = m_doc;
    m_doc = nullptr;
    return document;
}

// ---- HTTP --------------------------------------------------------------

HttpLimits SetHttpLimits(const HttpLimits& limits)
{
    std::lock_guard<std::mutex> lock(g_limitsMutex);
    const HttpLimits before = g_limits;
    g_limits = limits;
    return before;
}

BOOL HttpGetXml(const QString& url, XmlDocument& document, QString& error)
{
    try {
        InitialiseLibraries();
        const HttpLimits limits = CurrentLimits();

        CurlHandles handles;
        handles.easy = curl_easy_init();
        handles.url = curl_url();
        if (handles.easy == nullptr || handles.url == nullptr) {
            error = QStringLiteral("Failed to create XMLHttpRequest");
            return FALSE;
        }

        const QByteArray address = url.toUtf8();
        CURLUcode parsed = curl_url_set(handles.url, CURLUPART_URL, address.constData(), 0);
        if (parsed == CURLUE_OK && !IsHttpScheme(handles.url))
            parsed = CURLUE_UNSUPPORTED_SCHEME;
        if (parsed != CURLUE_OK) {
            error = QStringLiteral("Open Failed: %1, %2, %3")
                        .arg(static_cast<int>(parsed))
                        .arg(QString::fromUtf8(curl_url_strerror(parsed)), QString());
            return FALSE;
        }

        CURL* easy = handles.easy;
        if (curl_easy_setopt(easy, CURLOPT_CURLU, handles.url) != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L) != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https") != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L) != CURLE_OK) {
            error = QStringLiteral("Failed to open XMLHTTPRequest");
            return FALSE;
        }

        for (const char* header : {"If-Modified-Since: Sat, 1 Jan 2000 00:00:00 GMT", "charset: utf-8"}) {
            curl_slist* extended = curl_slist_append(handles.headers, header);
            if (extended == nullptr) {
                error = QStringLiteral("Failed to setRequestHeader");
                return FALSE;
            }
            handles.headers = extended;
        }
        if (curl_easy_setopt(easy, CURLOPT_HTTPHEADER, handles.headers) != CURLE_OK) {
            error = QStringLiteral("Failed to setRequestHeader");
            return FALSE;
        }

        Transfer transfer;
        transfer.maxBody = limits.maxBodyBytes;
        const std::string noProxy = NoProxyList();
        if (curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &OnBody) != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_WRITEDATA, &transfer) != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &OnHeader) != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_HEADERDATA, &transfer) != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L) != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_MAXREDIRS, limits.maxRedirects) != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http") != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, limits.connectTimeoutMs) != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, limits.totalTimeoutMs) != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(limits.maxBodyBytes))
                   != CURLE_OK
            || curl_easy_setopt(easy, CURLOPT_NOPROXY, noProxy.c_str()) != CURLE_OK) {
            error = QStringLiteral("Failed to send http request");
            return FALSE;
        }

        CURLcode sent = curl_easy_perform(easy);
        if (transfer.bodyTooLarge)
            sent = CURLE_FILESIZE_EXCEEDED;
        if (sent != CURLE_OK) {
            error = QStringLiteral("Send Failed: %1, %2, %3")
                        .arg(static_cast<int>(sent))
                        .arg(CurlText(sent), QString::fromUtf8(transfer.reason));
            return FALSE;
        }

        long status = 0;
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
        if (status != 200) {
            error = QStringLiteral("HTTP Request returned %1, %2").arg(status).arg(QString::fromUtf8(transfer.reason));
            return FALSE;
        }

        const std::string charset = CharsetOf(transfer.contentType);
        document =
            XmlDocument::Parse(transfer.body.data(), transfer.body.size(), charset.empty() ? nullptr : charset.c_str());
        if (document.IsNull()) {
            error = QStringLiteral("Failed to get_responseText");
            return FALSE;
        }
        return TRUE;
    } catch (...) {
        // Out of memory while holding or converting the answer.
        error = QStringLiteral("Failed to get_responseText");
        return FALSE;
    }
}

// ---- DOM readers -------------------------------------------------------

BOOL XmlSelectNodeText(xmlNode* node, const QString& path, QString& text)
{
    xmlXPathObjectPtr result = EvaluatePath(node, path);
    if (result == nullptr)
        return FALSE;
    BOOL found = FALSE;
    if (result->nodesetval->nodeNr > 0 && result->nodesetval->nodeTab[0] != nullptr) {
        text = OwnedXmlText(xmlNodeGetContent(result->nodesetval->nodeTab[0]));
        found = TRUE;
    }
    xmlXPathFreeObject(result);
    return found;
}

std::vector<xmlNode*> XmlSelectNodes(xmlNode* node, const QString& path)
{
    std::vector<xmlNode*> nodes;
    xmlXPathObjectPtr result = EvaluatePath(node, path);
    if (result == nullptr)
        return nodes;
    const xmlNodeSetPtr set = result->nodesetval;
    for (int i = 0; i < set->nodeNr; ++i)
        if (set->nodeTab[i] != nullptr)
            nodes.push_back(set->nodeTab[i]);
    xmlXPathFreeObject(result);
    return nodes;
}

BOOL XmlGetAttributeValue(xmlNode* node, const QString& name, QString& value)
{
    value.clear();
    if (node == nullptr || node->type != XML_ELEMENT_NODE || name.isEmpty())
        return FALSE;

    const QByteArray qualified = name.toUtf8();
    const qsizetype colon = qualified.indexOf(':');
    const QByteArray prefix = colon > 0 ? qualified.left(colon) : QByteArray();
    const QByteArray local = colon > 0 ? qualified.mid(colon + 1) : qualified;
    const auto* prefixChars = reinterpret_cast<const xmlChar*>(prefix.constData());
    const auto* localChars = reinterpret_cast<const xmlChar*>(local.constData());
    const auto* qualifiedChars = reinterpret_cast<const xmlChar*>(qualified.constData());

    const xmlNs* space = prefix.isEmpty() ? nullptr : xmlSearchNs(node->doc, node, prefixChars);

    for (xmlAttr* attribute = node->properties; attribute != nullptr; attribute = attribute->next) {
        bool match;
        if (prefix.isEmpty()) {
            match = attribute->ns == nullptr && xmlStrEqual(attribute->name, localChars);
        } else if (space != nullptr) {
            match = attribute->ns != nullptr && xmlStrEqual(attribute->ns->href, space->href)
                    && xmlStrEqual(attribute->name, localChars);
        } else {
            // An undeclared prefix: the parser keeps the name whole.
            match = (attribute->ns == nullptr && xmlStrEqual(attribute->name, qualifiedChars))
                    || (attribute->ns != nullptr && xmlStrEqual(attribute->ns->prefix, prefixChars)
                        && xmlStrEqual(attribute->name, localChars));
        }
        if (match) {
            value = OwnedXmlText(xmlNodeGetContent(reinterpret_cast<xmlNode*>(attribute)));
            return TRUE;
        }
    }
    return FALSE;
}

QString UrlEncodeComponent(const QString& text)
{
    static const char kHex[] = "0123456789ABCDEF";
    static const std::string_view kKept = "-_.!~*'()";
    const QByteArray utf8 = text.toUtf8();
    QString encoded;
    encoded.reserve(utf8.size() * 3);
    for (char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        const bool kept = (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9')
                          || kKept.find(c) != std::string_view::npos;
        if (kept) {
            encoded += QChar(byte);
        } else {
            encoded += u'%';
            encoded += QChar(kHex[byte >> 4]);
            encoded += QChar(kHex[byte & 0x0F]);
        }
    }
    return encoded;
}
