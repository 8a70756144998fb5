#include "platform/clientaccess/HostMessages.h"
#include "platform/clientaccess/tests/CodePageTestSupport.h"

#include <gtest/gtest.h>

using kwvd::clientaccess::HostMessages;
using kwvd::clientaccess::IsConvertibleCcsid;
using namespace kwvd::clientaccess::testing;

namespace {

// An error handle for one test, deleted at its end.
class ErrorHandle
{
public:
    ErrorHandle() { EXPECT_EQ(cwbSV_CreateErrHandle(&m_handle), kCwbOk); }
    ~ErrorHandle() { cwbSV_DeleteErrHandle(m_handle); }
    operator cwbSV_ErrHandle() const { return m_handle; }

    std::vector<std::string> Ids() const
    {
        std::vector<std::string> ids;
        for (const auto& message : HostMessages(m_handle))
            ids.push_back(message.id);
        return ids;
    }

private:
    cwbSV_ErrHandle m_handle = 0;
};

using Ids = std::vector<std::string>;

} // namespace

TEST(CodePages, ThePcCodePageIsWindows1252)
{
    unsigned long codePage = 0;
    EXPECT_EQ(cwbNL_GetPCCodePage(&codePage), kCwbOk);
    EXPECT_EQ(codePage, 1252u);
    EXPECT_EQ(cwbNL_GetPCCodePage(nullptr), kCwbInvalidParameter);
}

TEST(CodePages, TheCodePageOfACcsid)
{
    struct Case
    {
        unsigned long ccsid;
        unsigned expectedResult;
    };
    const Case cases[] = {
        {285, kCwbOk},   {5026, kCwbOk},          {300, kCwbOk},           {1200, kCwbOk},
        {13488, kCwbOk}, {924, kCwbInvalidCcsid}, {850, kCwbInvalidCcsid}, {0, kCwbInvalidCcsid},
    };
    for (const Case& c : cases) {
        ErrorHandle handle;
        unsigned long codePage = 0;
        EXPECT_EQ(cwbNL_GetCodePageOfCCSID(c.ccsid, &codePage, handle), c.expectedResult) << c.ccsid;
        if (c.expectedResult == kCwbOk) {
            EXPECT_EQ(codePage, c.ccsid);
            EXPECT_EQ(handle.Ids(), Ids{}) << c.ccsid;
        } else {
            EXPECT_EQ(handle.Ids(), Ids{"KWV6001"}) << c.ccsid;
        }
    }
}

TEST(CodePages, WhichCcsidsAreConvertible)
{
    for (unsigned ccsid : {37u, 285u, 1146u, 930u, 5035u, 16684u, 1252u, 1202u, 1208u})
        EXPECT_TRUE(IsConvertibleCcsid(ccsid)) << ccsid;
    // Not in the system's table, missing from glibc, or no CCSID at all.
    for (unsigned ccsid : {0u, 850u, 1047u, 924u, 62235u, 65535u})
        EXPECT_FALSE(IsConvertibleCcsid(ccsid)) << ccsid;
}

TEST(CodePages, AConverterForACcsidThatCannotBeConvertedIsRefusedWithAMessage)
{
    ErrorHandle handle;
    cwbNL_Converter converter = 77;
    EXPECT_EQ(cwbNL_CreateConverterEx(1252, 924, kCwbNlPlain, &converter, handle), kCwbInvalidCcsid);
    EXPECT_EQ(converter, 77u);
    EXPECT_EQ(cwbNL_CreateConverterEx(8612, 1252, kCwbNlPlain, &converter, handle), kCwbInvalidCcsid);
    EXPECT_EQ(handle.Ids(), (Ids{"KWV6001", "KWV6001"}));
    EXPECT_EQ(HostMessages(handle)[0].text, "CCSID 924 cannot be converted.");
}

TEST(CodePages, BadArgumentsAndHandles)
{
    cwbNL_Converter converter = 0;
    EXPECT_EQ(cwbNL_CreateConverterEx(1252, 37, kCwbNlPlain, nullptr, 0), kCwbInvalidParameter);
    EXPECT_EQ(cwbNL_CreateConverterEx(1252, 37, 2, &converter, 0), kCwbInvalidParameter);
    ASSERT_EQ(cwbNL_CreateConverterEx(1252, 37, kCwbNlPlain, &converter, 0), kCwbOk);

    char target[4];
    unsigned long converted = 0;
    EXPECT_EQ(cwbNL_Convert(converter, 2, 4, nullptr, target, &converted, nullptr, 0), kCwbInvalidParameter);
    EXPECT_EQ(cwbNL_Convert(converter, 2, 4, "AB", nullptr, &converted, nullptr, 0), kCwbInvalidParameter);

    ASSERT_EQ(cwbNL_DeleteConverter(converter, 0), kCwbOk);
    EXPECT_EQ(cwbNL_DeleteConverter(converter, 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbNL_Convert(converter, 2, 4, "AB", target, &converted, nullptr, 0), kCwbInvalidHandle);
    EXPECT_EQ(cwbNL_Convert(0, 2, 4, "AB", target, &converted, nullptr, 0), kCwbInvalidHandle);

    // A new converter never takes the number of a deleted one.
    cwbNL_Converter next = 0;
    ASSERT_EQ(cwbNL_CreateConverterEx(1252, 37, kCwbNlPlain, &next, 0), kCwbOk);
    EXPECT_NE(next, converter);
    cwbNL_DeleteConverter(next, 0);
}

TEST(CodePages, ASuccessfulConversionAddsNoMessage)
{
    ErrorHandle handle;
    const Conversion conversion = Convert(1252, 285, "Invoice 12", kCwbNlPlain, 256, handle);
    EXPECT_EQ(conversion.result, kCwbOk);
    EXPECT_EQ(conversion.bytes.size(), 10u);
    EXPECT_EQ(handle.Ids(), Ids{});
}

class Substitution : public ::testing::TestWithParam<ConversionCase>
{};

TEST_P(Substitution, GivesTheSubstitutionCharacterAndAMessage)
{
    const ConversionCase& c = GetParam();
    ErrorHandle handle;
    const Conversion conversion = Convert(c.from, c.to, c.source, kCwbNlPlain, 256, handle);
    EXPECT_EQ(conversion.result, kCwbSubstituted);
    EXPECT_EQ(Hex(conversion.bytes), Hex(c.expected));
    EXPECT_EQ(handle.Ids(), Ids{"KWV6002"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Substitution,
    ::testing::Values(
        ConversionCase{"euro at 37", 1252, 37, "A\x80", Bytes({0xC1, 0x3F})},
        // The run is closed before the single-byte SUB and opened again.
        ConversionCase{"euro inside a double-byte run at 930", 1202, 930, Utf16Le(u"\uFF21\u20AC\u3000"),
                       Bytes({0x0E, 0x42, 0xC1, 0x0F, 0x3F, 0x0E, 0x40, 0x40, 0x0F})},
        ConversionCase{"a single-byte character at 300", 1202, 300, Utf16Le(u"\u3000A"),
                       Bytes({0x40, 0x40, 0xFE, 0xFE})},
        ConversionCase{"a shift character as text at 930", 1202, 930, Utf16Le(u"A\u000EB"), Bytes({0xC1, 0x3F, 0xC2})},
        ConversionCase{"an unassigned double-byte code towards the PC", 930, 1252,
                       Bytes({0xC1, 0x0E, 0xFF, 0xFF, 0x0F, 0xC2}),
                       "A\x1A"
                       "B"},
        ConversionCase{"half a double-byte character at the end", 930, 1202, Bytes({0x0E, 0x42}), Utf16Le(u"\u001A")},
        ConversionCase{"a character outside Windows-1252", 1202, 1252, Utf16Le(u"\u0100x"), "\x1Ax"},
        ConversionCase{"a lone surrogate in UTF-16", 1202, 1208, Bytes({0x00, 0xD8, 0x41, 0x00}),
                       "\x1A"
                       "A"},
        ConversionCase{"bad UTF-8", 1208, 1252, Bytes({0x41, 0xC0, 0x80, 0x42}),
                       "A\x1A\x1A"
                       "B"},
        ConversionCase{"beyond the BMP at 13488", 1208, 13488, Bytes({0xF0, 0x9F, 0x98, 0x80}), Bytes({0x00, 0x1A})}));

TEST(CodePages, TheSubstitutionMessageNamesTheCcsids)
{
    ErrorHandle handle;
    Convert(1252, 37, "\x80\x80", kCwbNlPlain, 256, handle);
    const auto messages = HostMessages(handle);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].text, "2 character(s) had no equivalent from CCSID 1252 to CCSID 37 and were substituted.");
}

struct CutCase
{
    const char* name;
    unsigned long from;
    unsigned long to;
    std::string source;
    unsigned long targetLength;
    std::string expected;
    unsigned long needed;
};

void PrintTo(const CutCase& c, std::ostream* os)
{
    *os << c.name;
}

class TargetTooSmall : public ::testing::TestWithParam<CutCase>
{};

TEST_P(TargetTooSmall, CutsAtACharacterAndSaysHowMuchIsNeeded)
{
    const CutCase& c = GetParam();
    ErrorHandle handle;
    const Conversion conversion = Convert(c.from, c.to, c.source, kCwbNlPlain, c.targetLength, handle);
    EXPECT_EQ(conversion.result, kCwbTargetTooSmall);
    EXPECT_EQ(Hex(conversion.bytes), Hex(c.expected));
    EXPECT_EQ(conversion.needed, c.needed);
    EXPECT_EQ(handle.Ids(), Ids{"KWV6003"});
}

INSTANTIATE_TEST_SUITE_P(Cases, TargetTooSmall,
                         ::testing::Values(CutCase{"double-byte text cut to 5 bytes ends in SI", 1202, 930,
                                                   Utf16Le(u"\u3000\u3000\u3000"), 5, Bytes({0x0E, 0x40, 0x40, 0x0F}),
                                                   8},
                                           CutCase{"no room for SO, the character and SI", 1202, 930,
                                                   Utf16Le(u"A\u3000"), 4, Bytes({0xC1}), 5},
                                           CutCase{"a run that would leave no room for its SI", 1202, 930,
                                                   Utf16Le(u"\uFF21\u3000"), 5, Bytes({0x0E, 0x42, 0xC1, 0x0F}), 6},
                                           CutCase{"single-byte", 1252, 37, "ABCD", 2, Bytes({0xC1, 0xC2}), 4},
                                           CutCase{"a UTF-8 character is never split", 1252, 1208, "a\xE9", 2, "a", 3},
                                           CutCase{"a surrogate pair is never split", 1208, 1200,
                                                   Bytes({0x41, 0xF0, 0x9F, 0x98, 0x80}), 5, Bytes({0x00, 0x41}), 6},
                                           CutCase{"pure double-byte keeps whole characters", 1202, 300,
                                                   Utf16Le(u"\u3000\u3000"), 3, Bytes({0x40, 0x40}), 4},
                                           CutCase{"a target of length 0 only measures", 1252, 930, "AB", 0, "", 2}));

TEST(CodePages, ATextThatExactlyFillsTheTargetIsComplete)
{
    const Conversion conversion = Convert(1202, 930, Utf16Le(u"\u3000\u3000\u3000"), kCwbNlPlain, 8);
    EXPECT_EQ(conversion.result, kCwbOk);
    EXPECT_EQ(Hex(conversion.bytes), Hex(Bytes({0x0E, 0x40, 0x40, 0x40, 0x40, 0x40, 0x40, 0x0F})));
}

TEST(CodePages, SubstitutionsInTheWrittenPartAreReportedBesideTheCut)
{
    ErrorHandle handle;
    const Conversion conversion = Convert(1252, 37,
                                          "\x80"
                                          "ABC",
                                          kCwbNlPlain, 2, handle);
    EXPECT_EQ(conversion.result, kCwbTargetTooSmall);
    EXPECT_EQ(Hex(conversion.bytes), Hex(Bytes({0x3F, 0xC1})));
    EXPECT_EQ(handle.Ids(), (Ids{"KWV6002", "KWV6003"}));
}

TEST(CodePages, ColumnModeKeepsOneCharacterPerHostByte)
{
    // A, SO, fullwidth A, SI, B: six host bytes, six PC characters.
    const std::string host = Bytes({0xC1, 0x0E, 0x42, 0xC1, 0x0F, 0xC2});
    const std::string columns = Utf16Le(u"A\u000E\uFF21 \u000FB");

    const Conversion read = Convert(930, 1202, host, kCwbNlColumnMode);
    EXPECT_EQ(read.result, kCwbOk);
    EXPECT_EQ(Hex(read.bytes), Hex(columns));
    EXPECT_EQ(read.bytes.size() / 2, host.size());

    const Conversion written = Convert(1202, 930, columns, kCwbNlColumnMode);
    EXPECT_EQ(written.result, kCwbOk);
    EXPECT_EQ(Hex(written.bytes), Hex(host));

    // Plain mode drops the shifts and the fillers.
    EXPECT_EQ(Hex(Convert(930, 1202, host).bytes), Hex(Utf16Le(u"A\uFF21B")));
}

TEST(CodePages, ColumnModeCases)
{
    struct Case
    {
        const char* name;
        unsigned long from;
        unsigned long to;
        std::string source;
        unsigned long targetLength;
        unsigned expectedResult;
        std::string expected;
    };
    const Case cases[] = {
        {"pure double-byte gets a filler per character", 300, 1202, Bytes({0x42, 0xC1, 0x40, 0x40}), 256, kCwbOk,
         Utf16Le(u"\uFF21 \u3000 ")},
        {"fillers dropped towards a pure double-byte CCSID", 1202, 300, Utf16Le(u"\uFF21 \u3000 "), 256, kCwbOk,
         Bytes({0x42, 0xC1, 0x40, 0x40})},
        {"an empty run keeps its two shift bytes", 1202, 930, Utf16Le(u"A\u000E\u000FB"), 256, kCwbOk,
         Bytes({0xC1, 0x0E, 0x0F, 0xC2})},
        {"an unassigned pair keeps its two columns", 930, 1202, Bytes({0x0E, 0xFF, 0xFF, 0x0F}), 256, kCwbSubstituted,
         Utf16Le(u"\u000E\u001A \u000F")},
        {"a single-byte character inside a marked run", 1202, 930, Utf16Le(u"\u000Ex \u000F"), 256, kCwbSubstituted,
         Bytes({0x0E, 0xFE, 0xFE, 0x0F})},
        {"a character and its filler are cut together", 930, 1202, Bytes({0x0E, 0x42, 0xC1, 0x0F}), 5,
         kCwbTargetTooSmall, Utf16Le(u"\u000E")},
        {"single-byte CCSIDs are unchanged", 37, 1252, Bytes({0xC1, 0x0E}), 256, kCwbOk, "A\x0E"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Conversion conversion = Convert(c.from, c.to, c.source, kCwbNlColumnMode, c.targetLength);
        EXPECT_EQ(conversion.result, c.expectedResult);
        EXPECT_EQ(Hex(conversion.bytes), Hex(c.expected));
    }
}

TEST(CodePages, AConverterServesManyConversions)
{
    cwbNL_Converter converter = 0;
    ASSERT_EQ(cwbNL_CreateConverterEx(930, 1202, kCwbNlPlain, &converter, 0), kCwbOk);
    const std::string line = Bytes({0xC1, 0x0E, 0x42, 0xC1, 0x0F, 0xC2});
    for (int pass = 0; pass < 3; ++pass) {
        char target[16] = {};
        unsigned long converted = 0;
        EXPECT_EQ(cwbNL_Convert(converter, line.size(), sizeof target, line.data(), target, &converted, nullptr, 0),
                  kCwbOk);
        // Each call starts in single-byte state, whatever the last one ended in.
        EXPECT_EQ(Hex(std::string(target, converted)), Hex(Utf16Le(u"A\uFF21B"))) << pass;
    }
    cwbNL_DeleteConverter(converter, 0);
}
