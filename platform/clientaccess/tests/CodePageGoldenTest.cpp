// Golden bytes from the published code-page tables of each CCSID.

#include "platform/clientaccess/tests/CodePageTestSupport.h"

#include "platform/framework/CcsidTable.h"

#include <gtest/gtest.h>

#include <set>

using namespace kwvd::clientaccess::testing;

namespace {

// The rows of the system's CCSID table that glibc's iconv does not carry.
const std::set<LONG> kMissingFromGlibc = {924, 8612, 12708, 62211, 62224, 62235, 62245, 62251};

// U+3000 IDEOGRAPHIC SPACE, which every host double-byte set holds as 40 40.
const std::string kIdeographicSpace = Utf16Le(u"\u3000");

} // namespace

TEST(CodePageGolden, EveryRowOfTheCcsidTable)
{
    for (const CcsidRow& row : CcsidTable()) {
        const unsigned long ccsid = static_cast<unsigned long>(row.ccsid);
        SCOPED_TRACE("CCSID " + std::to_string(ccsid));
        if (kMissingFromGlibc.count(row.ccsid)) {
            EXPECT_EQ(Convert(1252, ccsid, "A0").result, kCwbInvalidCcsid);
            EXPECT_EQ(Convert(ccsid, 1252, "\xC1\xF0").result, kCwbInvalidCcsid);
            continue;
        }
        std::string source = "A0";
        std::string expected = Bytes({0xC1, 0xF0});
        if (row.group == 3) {
            // A pure double-byte set has no single-byte "A0".
            source = kIdeographicSpace;
            expected = Bytes({0x40, 0x40});
        } else if (ccsid == 1200 || ccsid == 13488) {
            expected = Bytes({0x00, 0x41, 0x00, 0x30});
        } else if (ccsid == 1208) {
            expected = "A0";
        }
        const unsigned long from = row.group == 3 ? 1202 : 1252;
        const Conversion there = Convert(from, ccsid, source);
        EXPECT_EQ(there.result, kCwbOk);
        EXPECT_EQ(Hex(there.bytes), Hex(expected));
        const Conversion back = Convert(ccsid, from, expected);
        EXPECT_EQ(back.result, kCwbOk);
        EXPECT_EQ(Hex(back.bytes), Hex(source));
    }
}

class CodePageGoldenCase : public ::testing::TestWithParam<ConversionCase>
{};

TEST_P(CodePageGoldenCase, ConvertsToThePublishedBytes)
{
    const ConversionCase& c = GetParam();
    const Conversion conversion = Convert(c.from, c.to, c.source);
    EXPECT_EQ(conversion.result, kCwbOk);
    EXPECT_EQ(Hex(conversion.bytes), Hex(c.expected));
    EXPECT_EQ(conversion.needed, c.expected.size());
}

INSTANTIATE_TEST_SUITE_P(
    Tables, CodePageGoldenCase,
    ::testing::Values(
        ConversionCase{"pound and A at 285", 1252, 285,
                       "\xA3"
                       "A",
                       Bytes({0x5B, 0xC1})},
        ConversionCase{"285 back to the PC", 285, 1252, Bytes({0x5B, 0xC1}),
                       "\xA3"
                       "A"},
        ConversionCase{"pound at 37", 1252, 37, "\xA3", Bytes({0xB1})},
        ConversionCase{"dollar at 37", 1252, 37, "$", Bytes({0x5B})},
        ConversionCase{"euro at 1146", 1252, 1146, "\x80", Bytes({0x9F})},
        ConversionCase{"euro at 1140", 1252, 1140, "\x80", Bytes({0x9F})},
        ConversionCase{"euro from 1146 to the PC", 1146, 1252, Bytes({0x9F}), "\x80"},
        ConversionCase{"the PC's undefined 0x81 survives UTF-16", 1252, 1202, "\x81", Bytes({0x81, 0x00})},
        ConversionCase{"ideographic space at 930", 1202, 930, kIdeographicSpace, Bytes({0x0E, 0x40, 0x40, 0x0F})},
        ConversionCase{"ideographic space at 300", 1202, 300, kIdeographicSpace, Bytes({0x40, 0x40})},
        ConversionCase{"ideographic space at 5026", 1202, 5026, kIdeographicSpace, Bytes({0x0E, 0x40, 0x40, 0x0F})},
        ConversionCase{"ideographic space at 4396", 1202, 4396, kIdeographicSpace, Bytes({0x40, 0x40})},
        ConversionCase{"fullwidth A between single bytes at 930", 1202, 930, Utf16Le(u"A\uFF21B"),
                       Bytes({0xC1, 0x0E, 0x42, 0xC1, 0x0F, 0xC2})},
        ConversionCase{"two double-byte characters share one run at 939", 1202, 939, Utf16Le(u"\uFF21\u3000"),
                       Bytes({0x0E, 0x42, 0xC1, 0x40, 0x40, 0x0F})},
        ConversionCase{"930 back to UTF-16", 930, 1202, Bytes({0xC1, 0x0E, 0x42, 0xC1, 0x0F, 0xC2}),
                       Utf16Le(u"A\uFF21B")},
        ConversionCase{"300 back to UTF-16", 300, 1202, Bytes({0x42, 0xC1, 0x40, 0x40}), Utf16Le(u"\uFF21\u3000")},
        ConversionCase{"A0 at 1202", 1252, 1202, "A0", Bytes({0x41, 0x00, 0x30, 0x00})},
        ConversionCase{"e acute at 1208", 1252, 1208, "\xE9", Bytes({0xC3, 0xA9})},
        ConversionCase{"e acute at 1200", 1252, 1200, "\xE9", Bytes({0x00, 0xE9})},
        ConversionCase{"a character beyond the BMP from 1208 to 1200", 1208, 1200, Bytes({0xF0, 0x9F, 0x98, 0x80}),
                       Bytes({0xD8, 0x3D, 0xDE, 0x00})},
        ConversionCase{"a surrogate pair from 1202 to 1208", 1202, 1208, Bytes({0x3D, 0xD8, 0x00, 0xDE}),
                       Bytes({0xF0, 0x9F, 0x98, 0x80})},
        ConversionCase{"host to host, 37 to 285", 37, 285, Bytes({0xB1, 0x5B}), Bytes({0x5B, 0x4A})},
        ConversionCase{"empty text", 1252, 930, "", ""}));
