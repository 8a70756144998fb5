#include "platform/framework/NarrowText.h"

#include <gtest/gtest.h>

#include <QByteArray>

#include <cstdlib>
#include <cstring>

namespace {

using kwvd::NarrowEncoding;

struct Case
{
    const char* name;
    const char16_t* text;
    NarrowEncoding encoding;
    const char* hex; // the expected bytes, without the terminator
};

const Case kCases[] = {
    {"ascii, utf-8", u"Logo.bmp", NarrowEncoding::Utf8, "4c6f676f2e626d70"},
    {"ascii, 1252", u"Logo.bmp", NarrowEncoding::Windows1252, "4c6f676f2e626d70"},
    {"e acute, utf-8 takes two bytes", u"\u00e9", NarrowEncoding::Utf8, "c3a9"},
    {"e acute, 1252", u"\u00e9", NarrowEncoding::Windows1252, "e9"},
    {"euro, utf-8", u"\u20ac", NarrowEncoding::Utf8, "e282ac"},
    {"euro, 1252", u"\u20ac", NarrowEncoding::Windows1252, "80"},
    {"longer than its characters, utf-8", u"Gr\u00f6\u00dfe 10\u20ac", NarrowEncoding::Utf8,
     "4772c3b6c39f65203130e282ac"},
    {"one byte a character, 1252", u"Gr\u00f6\u00dfe 10\u20ac", NarrowEncoding::Windows1252,
     "4772f6df65203130"
     "80"},
    {"beyond the code page, utf-8", u"a\u65e5b", NarrowEncoding::Utf8, "61e697a562"},
    {"beyond the code page, 1252", u"a\u65e5b", NarrowEncoding::Windows1252, "613f62"},
    {"outside the basic plane, utf-8", u"\U0001F600", NarrowEncoding::Utf8, "f09f9880"},
    {"undefined 1252 byte survives", u"\u0081\u009d", NarrowEncoding::Windows1252, "819d"},
};

QByteArray Expected(const Case& c)
{
    return QByteArray::fromHex(c.hex);
}

TEST(AllocAnsiCopy, BytesOfEachEncoding)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const QByteArray expected = Expected(c);
        char* copy = nullptr;
        AllocAnsiCopy(&copy, QString::fromUtf16(c.text), c.encoding);
        ASSERT_NE(copy, nullptr);
        EXPECT_EQ(QByteArray(copy, static_cast<qsizetype>(std::strlen(copy))), expected);
        std::free(copy);
    }
}

TEST(AnsiBuffer, BytesOfEachEncoding)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const QByteArray expected = Expected(c);
        const AnsiBuffer buffer(QString::fromUtf16(c.text), c.encoding);
        ASSERT_EQ(buffer.size(), static_cast<std::size_t>(expected.size()));
        EXPECT_EQ(QByteArray(buffer.c_str(), static_cast<qsizetype>(buffer.size())), expected);
        EXPECT_EQ(buffer.c_str()[buffer.size()], '\0');
    }
}

TEST(AllocAnsiCopy, EmptyTextLeavesTheOutputAlone)
{
    char sentinel = 'x';
    for (const QString& text : {QString(), QString::fromUtf8("")}) {
        char* out = &sentinel;
        AllocAnsiCopy(&out, text, NarrowEncoding::Utf8);
        EXPECT_EQ(out, &sentinel);
    }
}

TEST(AnsiBuffer, EmptyTextGivesAnEmptyString)
{
    const AnsiBuffer buffer(QString(), NarrowEncoding::Utf8);
    ASSERT_NE(buffer.c_str(), nullptr);
    EXPECT_STREQ(buffer.c_str(), "");
    EXPECT_EQ(buffer.size(), 0u);
}

} // namespace
