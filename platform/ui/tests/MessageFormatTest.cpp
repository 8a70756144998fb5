#include "platform/ui/MessageFormat.h"

#include "platform/framework/Exceptions.h"
#include "platform/ui/StringTable.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct FormatCase
{
    const char* name;
    const char* format;
    std::vector<MessageArg> args;
    const char* expected;
};

TEST(FormatMessageText, InsertsAndEscapesAsTheSystemFormatterDoes)
{
    const std::vector<FormatCase> cases = {
        {"two decimal inserts", "Version %1!d!  (build %2!d!)", {6, 27}, "Version 6  (build 27)"},
        {"zero-padded width two", "%1!02d!", {5}, "05"},
        {"page and line counters",
         "Page: %1!02d!, Line: %2!03d!: %3",
         {3, 7, "bad byte"},
         "Page: 03, Line: 007: bad byte"},
        {"eight hex digits of the second insert", "%2!08x!", {"unused", 255}, "000000ff"},
        {"error code as hex between texts",
         "Error loading Xml file %1.\n%2!08x! - %3.",
         {"a.xml", 0x80004005u, "Unspecified error"},
         "Error loading Xml file a.xml.\n80004005 - Unspecified error."},
        {"inserts out of order", "%2 %1", {"first", "second"}, "second first"},
        {"one insert twice", "%1-%1", {"ab"}, "ab-ab"},
        {"two-digit insert number", "%10|%1", {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j"}, "j|a"},
        {"percent, dot, bang and space escapes", "100%% done%.%!% end", {}, "100% done.! end"},
        {"line break is CR LF, then CR and tab", "a%nb%rc%td", {}, "a\r\nb\rc\td"},
        {"%0 ends the output", "shown%0 hidden %1", {}, "shown"},
        {"exclamation marks outside an insert stay", "times!!!", {}, "times!!!"},
        {"an insert's own text is not expanded again", "%1", {"%2 and %n"}, "%2 and %n"},
        {"integer given to a text insert", "%1 items", {42}, "42 items"},
        {"negative int under x is 32 bits", "%1!x!", {-1}, "ffffffff"},
        {"negative 64-bit under x", "%1!x!", {-1LL}, "ffffffffffffffff"},
        {"negative int under u", "%1!u!", {-1}, "4294967295"},
        {"large unsigned under d keeps its value", "%1!d!", {4294967295u}, "4294967295"},
        {"upper-case hex", "%1!X!", {48879}, "BEEF"},
        {"octal", "%1!o!", {8}, "10"},
        {"alternate hex form", "%1!#x!", {255}, "0xff"},
        {"left-justified number", "%1!-5d!|", {42}, "42   |"},
        {"plus sign", "%1!+d! %2!+d!", {5, -5}, "+5 -5"},
        {"precision of an integer is its minimum digits", "%1!.3d!", {7}, "007"},
        {"length modifier accepted", "%1!ld! %2!lu!", {7L, 8UL}, "7 8"},
        {"character", "%1!c!%2!c!", {65, 0x20AC}, "A\u20AC"},
        {"text right-justified in a width", "[%1!5s!]", {"ab"}, "[   ab]"},
        {"text left-justified in a width", "[%1!-5s!]", {"ab"}, "[ab   ]"},
        {"text precision cuts", "[%1!.2s!]", {"abcdef"}, "[ab]"},
        {"fixed-point number", "%1!.2f!", {3.14159}, "3.14"},
        {"text from UTF-8, UTF-16 and std::string",
         "%1 %2 %3",
         {"caf\u00e9", u"\u00fc", std::string("\u00df")},
         "caf\u00e9 \u00fc \u00df"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatMessageArgs(QString::fromUtf8(c.format), c.args), QString::fromUtf8(c.expected));
    }
}

struct FailureCase
{
    const char* name;
    const char* format;
    std::vector<MessageArg> args;
};

TEST(FormatMessageText, FormatsThatCannotBeAppliedRaiseMemoryException)
{
    const std::vector<FailureCase> cases = {
        {"insert past the arguments", "%1 %3", {"a", "b"}},
        {"insert without any argument", "%1", {}},
        {"unclosed printf form", "%1!d", {5}},
        {"empty printf form", "%1!!", {5}},
        {"unknown conversion", "%1!q!", {5}},
        {"characters after the conversion", "%1!dx!", {5}},
        {"star width", "%1!*d!", {5}},
        {"text under a numeric conversion", "%1!d!", {"five"}},
        {"fraction under an integer conversion", "%1!x!", {2.5}},
        {"text under a character conversion", "%1!c!", {"A"}},
        {"surrogate as a character", "%1!c!", {0xD800}},
        {"huge width", "%1!5000d!", {5}},
        {"huge precision", "%1!.99999999999s!", {"a"}},
        {"percent sign ending the format", "50%", {}},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_THROW(FormatMessageArgs(QString::fromUtf8(c.format), c.args), CMemoryException);
    }
}

TEST(FormatMessageText, VariadicFormTakesMixedArguments)
{
    EXPECT_EQ(FormatMessageText(QStringLiteral("%1: %2!d! of %3!u!"), QStringLiteral("Pages"), 3, 10u),
              QStringLiteral("Pages: 3 of 10"));
    EXPECT_EQ(FormatMessageText(QStringLiteral("no inserts%n")), QStringLiteral("no inserts\r\n"));
}

TEST(FormatResMessage, FormatsTheTextOfTheId)
{
    StringTable::Add(359, QStringLiteral("Version %1!d!  (build %2!d!)"));
    EXPECT_EQ(FormatResMessage(359, 6, 27), QStringLiteral("Version 6  (build 27)"));
}

TEST(FormatResMessage, MissingIdGivesQuestionMarks)
{
    constexpr UINT kMissing = 0xFFFF0001u;
    EXPECT_EQ(LoadResString(kMissing), QStringLiteral("???"));
    EXPECT_EQ(FormatResMessage(kMissing, 1, "two"), QStringLiteral("???"));
}

} // namespace
