#include "designer/resources/catalogue/DocStoreXml.h"

#include "designer/document/XmlHttp.h"

#include <cstdint>

namespace docstore {

BOOL ReadChildText(xmlNode* element, const char* childName, QString& text)
{
    // Element names of the answers are plain words, so the name is safe
    // inside the path.
    return XmlSelectNodeText(element, QString::fromLatin1(childName), text);
}

int ReadChildNumber(xmlNode* element, const char* childName, int fallback)
{
    QString text;
    if (!ReadChildText(element, childName, text))
        return fallback;
    return ParseNumber(text);
}

int ParseNumber(const QString& text)
{
    qsizetype i = 0;
    const qsizetype length = text.size();
    auto isBlank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
    };
    while (i < length && isBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < length && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t(INT32_MAX) + 1;
    std::int64_t magnitude = 0;
    while (i < length && text[i] >= u'0' && text[i] <= u'9') {
        if (magnitude <= kLimit)
            magnitude = magnitude * 10 + (text[i].unicode() - u'0');
        ++i;
    }
    if (negative)
        return magnitude >= kLimit ? INT32_MIN : static_cast<int>(-magnitude);
    return magnitude > INT32_MAX ? INT32_MAX : static_cast<int>(magnitude);
}

} // namespace docstore
