// The designer's pages as SCS lines for a new spooled file, and the
// attribute list, checked against bytes written by hand from the rules:
// 34 C0 01 34 C4 n before each line, FF between pages, the text in the
// host's code page.

#include "hostaccess/export/SpooledPageEncoder.h"

#include "hostaccess/export/tests/OwnedPages.h"

#include "platform/clientaccess/CodePages.h"
#include "platform/clientaccess/ResultCodes.h"
#include "platform/framework/Collections.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

namespace {

using namespace kwvd::merrow;

QByteArray HexBytes(const char* hex)
{
    return QByteArray::fromHex(QByteArray(hex));
}

// Converts through the Client Access layer, as the export does, and keeps
// what was written and asked.
class RecordingSink : public SpooledPageSink
{
public:
    explicit RecordingSink(unsigned long ccsid)
    {
        EXPECT_EQ(cwbNL_CreateConverterEx(1202, ccsid, kCwbNlColumnMode, &m_converter, 0), kCwbOk);
    }
    ~RecordingSink() override { cwbNL_DeleteConverter(m_converter, 0); }

    std::optional<ConvertedLine> ConvertLine(const QString& text) override
    {
        if (failConversion)
            return std::nullopt;
        const QByteArray source(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
        QByteArray target(kMaxLineBytes, '\0');
        unsigned long converted = 0;
        const unsigned result = cwbNL_Convert(m_converter, static_cast<unsigned long>(source.size()),
                                              static_cast<unsigned long>(target.size()), source.constData(),
                                              target.data(), &converted, nullptr, 0);
        ConvertedLine line;
        line.bytes = target.left(static_cast<qsizetype>(converted));
        line.cut = result == kCwbTargetTooSmall;
        line.substituted = result == kCwbSubstituted;
        line.warning = line.substituted ? QStringLiteral("host warning") : QString();
        return line;
    }

    bool SkipSubstitutedLine(int line, int page, const QString& warning) override
    {
        questions.push_back({line, page, warning});
        return skipSubstituted;
    }

    bool Write(const QByteArray& bytes) override
    {
        if (writesLeft == 0)
            return false;
        --writesLeft;
        written += bytes;
        return true;
    }

    bool WritePageBreak() override { return Write(QByteArray(1, kPageBreak)); }

    struct Question
    {
        int line;
        int page;
        QString warning;
    };

    QByteArray written;
    std::vector<Question> questions;
    bool skipSubstituted = false;
    bool failConversion = false;
    int writesLeft = -1;

private:
    cwbNL_Converter m_converter = 0;
};

TEST(SpooledPageEncoding, TwoPagesGolden)
{
    const OwnedPages pages{{"", "HELLO", "", "AB"}, {"", "", "X 1"}};
    RecordingSink sink(37);
    std::vector<UncarriedLine> uncarried;

    ASSERT_TRUE(EncodeSpooledPages(pages.List(), sink, uncarried));

    const QByteArray expected = HexBytes("34C00134C401"
                                         "C8C5D3D3D6" // HELLO
                                         "34C00134C403"
                                         "C1C2" // AB
                                         "0C"   // the page break, none after the last page
                                         "34C00134C402"
                                         "E740F1"); // X 1
    EXPECT_EQ(sink.written.toHex(' '), expected.toHex(' '));
    EXPECT_TRUE(uncarried.empty());
    EXPECT_TRUE(UncarriedLinesWarning(uncarried).isEmpty());
}

TEST(SpooledPageEncoding, DoubleByteLineKeepsItsShiftsAndDropsTheFillers)
{
    // Column form of a mixed line: SO, each double-byte character with its
    // filler, SI.
    const QString line = QStringLiteral("A") + QChar(0x0E) + QChar(0x65E5) + u' ' + QChar(0x0F) + u'B';
    const OwnedPages pages{{"", line}};
    RecordingSink sink(930);
    std::vector<UncarriedLine> uncarried;

    ASSERT_TRUE(EncodeSpooledPages(pages.List(), sink, uncarried));

    const QByteArray written = sink.written;
    ASSERT_EQ(written.left(6), HexBytes("34C00134C401"));
    const QByteArray text = written.mid(6);
    ASSERT_EQ(text.size(), 6) << text.toHex(' ').constData();
    EXPECT_EQ(static_cast<unsigned char>(text.at(1)), 0x0E);
    EXPECT_EQ(static_cast<unsigned char>(text.at(4)), 0x0F);
}

TEST(SpooledPageEncoding, PagesWithoutAnArrayAreSkippedAndNotCounted)
{
    OwnedPages pages;
    pages.AddMissing();
    pages.Add({"", "A"});
    pages.AddMissing();
    pages.Add({"", "", "B"});
    pages.AddMissing();
    RecordingSink sink(37);
    std::vector<UncarriedLine> uncarried;

    ASSERT_TRUE(EncodeSpooledPages(pages.List(), sink, uncarried));

    EXPECT_EQ(sink.written, HexBytes("34C00134C401C1" "0C" "34C00134C402C2"));
}

TEST(SpooledPageEncoding, EmptyListAndEmptyLinesWriteNothing)
{
    const OwnedPages none;
    const OwnedPages blank{{"", "", ""}};
    for (const OwnedPages* pages : {&none, &blank}) {
        RecordingSink sink(37);
        std::vector<UncarriedLine> uncarried;
        EXPECT_TRUE(EncodeSpooledPages(pages->List(), sink, uncarried));
        EXPECT_TRUE(sink.written.isEmpty());
        EXPECT_TRUE(uncarried.empty());
    }
}

TEST(SpooledPageEncoding, ThreeHundredLinesWriteTheFirst255AndWarnOnce)
{
    QStringList lines{QString()};
    for (int i = 1; i < 300; ++i)
        lines << QStringLiteral("L");
    OwnedPages pages;
    pages.Add(lines);
    RecordingSink sink(37);
    std::vector<UncarriedLine> uncarried;

    ASSERT_TRUE(EncodeSpooledPages(pages.List(), sink, uncarried));

    QByteArray expected;
    for (int line = 1; line <= 255; ++line)
        expected += LinePositionBytes(line) + QByteArray(1, char(0xD3));
    EXPECT_EQ(sink.written, expected);
    ASSERT_EQ(uncarried.size(), 44u);
    EXPECT_EQ(uncarried.front(), (UncarriedLine{1, 256, UncarriedLine::Reason::BeyondLastLine}));
    EXPECT_EQ(uncarried.back(), (UncarriedLine{1, 299, UncarriedLine::Reason::BeyondLastLine}));

    const QString warning = UncarriedLinesWarning(uncarried);
    EXPECT_TRUE(warning.contains(QStringLiteral("Page: 01, Line: 256: ")));
    EXPECT_TRUE(warning.contains(QStringLiteral("Page: 01, Line: 299: ")));
    EXPECT_FALSE(warning.contains(QStringLiteral("Line: 255")));
}

TEST(SpooledPageEncoding, LinesTheFormatCannotCarry)
{
    struct Case
    {
        const char* name;
        QStringList page2;
        QByteArray page2Bytes; // after the break
        std::vector<UncarriedLine> uncarried;
    };
    const QString longLine(400, u'A');
    QStringList beyond(257);
    beyond[1] = QStringLiteral("A");
    beyond[256] = QStringLiteral("Z");
    const Case cases[] = {
        {"a line 0 with text is left out", {"TOP", "A"}, HexBytes("34C00134C401C1"),
         {{2, 0, UncarriedLine::Reason::LineZero}}},
        {"an empty line 0 is no loss", {"", "A"}, HexBytes("34C00134C401C1"), {}},
        {"line 255 is written", [] {
             QStringList lines(256);
             lines[255] = QStringLiteral("A");
             return lines;
         }(),
         HexBytes("34C00134C4FFC1"), {}},
        {"line 256 is left out", beyond, HexBytes("34C00134C401C1"),
         {{2, 256, UncarriedLine::Reason::BeyondLastLine}}},
        {"a long line is cut to 379 bytes", {"", longLine},
         HexBytes("34C00134C401") + QByteArray(kMaxLineBytes, char(0xC1)), {{2, 1, UncarriedLine::Reason::Cut}}},
        {"a line of 379 bytes is whole", {"", QString(kMaxLineBytes, u'A')},
         HexBytes("34C00134C401") + QByteArray(kMaxLineBytes, char(0xC1)), {}},
    };
    for (const Case& c : cases) {
        OwnedPages pages;
        pages.Add({"", "P"});
        pages.Add(c.page2);
        RecordingSink sink(37);
        std::vector<UncarriedLine> uncarried;

        EXPECT_TRUE(EncodeSpooledPages(pages.List(), sink, uncarried)) << c.name;

        EXPECT_EQ(sink.written, HexBytes("34C00134C401D7" "0C") + c.page2Bytes) << c.name;
        EXPECT_EQ(uncarried, c.uncarried) << c.name;
    }
}

TEST(SpooledPageEncoding, WarningNamesPageAndLineOfEach)
{
    const std::vector<UncarriedLine> uncarried{{1, 0, UncarriedLine::Reason::LineZero},
                                               {3, 300, UncarriedLine::Reason::BeyondLastLine},
                                               {12, 7, UncarriedLine::Reason::Cut}};
    const QStringList lines = UncarriedLinesWarning(uncarried).split(u'\n');

    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], QStringLiteral("The spooled file was exported, but these lines could not be written as they "
                                       "stand:"));
    EXPECT_EQ(lines[1], QStringLiteral("Page: 01, Line: 000: left out, lines are numbered from 1 on the host"));
    EXPECT_EQ(lines[2], QStringLiteral("Page: 03, Line: 300: left out, the host positions lines up to 255 only"));
    EXPECT_EQ(lines[3], QStringLiteral("Page: 12, Line: 007: cut to 379 bytes"));
}

TEST(SpooledPageEncoding, SubstitutedLineAsksAndFollowsTheAnswer)
{
    // The euro sign has no place in CCSID 37.
    const QString euro = QStringLiteral("A") + QChar(0x20AC);
    for (const bool skip : {true, false}) {
        OwnedPages pages;
        pages.Add({"", "B"});
        pages.Add({"", "", "", "", "", "", "", euro});
        RecordingSink sink(37);
        sink.skipSubstituted = skip;
        std::vector<UncarriedLine> uncarried;

        ASSERT_TRUE(EncodeSpooledPages(pages.List(), sink, uncarried));

        ASSERT_EQ(sink.questions.size(), 1u);
        EXPECT_EQ(sink.questions[0].line, 7);
        EXPECT_EQ(sink.questions[0].page, 2);
        EXPECT_EQ(sink.questions[0].warning, QStringLiteral("host warning"));
        const QByteArray page2 = skip ? QByteArray() : HexBytes("34C00134C407C13F");
        EXPECT_EQ(sink.written, HexBytes("34C00134C401C2" "0C") + page2) << "skip " << skip;
        EXPECT_TRUE(uncarried.empty());
    }
}

TEST(SpooledPageEncoding, FailuresEndTheExport)
{
    const OwnedPages pages{{"", "A", "B"}, {"", "C"}};
    {
        RecordingSink sink(37);
        sink.failConversion = true;
        std::vector<UncarriedLine> uncarried;
        EXPECT_FALSE(EncodeSpooledPages(pages.List(), sink, uncarried));
        EXPECT_TRUE(sink.written.isEmpty());
    }
    for (int writes = 0; writes < 3; ++writes) {
        RecordingSink sink(37);
        sink.writesLeft = writes;
        std::vector<UncarriedLine> uncarried;
        EXPECT_FALSE(EncodeSpooledPages(pages.List(), sink, uncarried)) << writes;
    }
}

TEST(NewSpooledFileAttributeList, OrderAndRules)
{
    SpooledFileIdentity identity;
    identity.SetOutputQueue(QStringLiteral("QPRINT"));
    identity.SetOutputQueueLibrary(QStringLiteral("KWVD"));
    identity.SetFileName(QStringLiteral("invoice"));
    identity.SetUserData(QStringLiteral("monthly"));
    identity.SetDbcsData(QStringLiteral("*YES"));
    identity.SetCharSet(QStringLiteral("*DEVD"));
    using Type = NewSpooledFileAttribute::Type;

    struct Expected
    {
        int key;
        Type type;
        QString text;
        double number;
        bool required;
    };
    struct Case
    {
        const char* name;
        std::optional<std::array<int, 2>> pageSize;
        std::vector<Expected> expected;
    };
    const std::vector<Expected> head{
        {74, Type::Text, "QPRINT", 0, true},   {73, Type::Text, "KWVD", 0, true},
        {104, Type::Text, "INVOICE", 0, true}, {116, Type::Text, "MONTHLY", 0, true},
        {79, Type::Text, "*ROWCOL", 0, true},
    };
    const std::vector<Expected> tail{{153, Type::Text, "*YES", 0, false}, {55, Type::Text, "*DEVD", 0, false}};
    auto join = [&](std::vector<Expected> middle) {
        std::vector<Expected> all = head;
        all.insert(all.end(), middle.begin(), middle.end());
        all.insert(all.end(), tail.begin(), tail.end());
        return all;
    };
    const Case cases[] = {
        {"132 by 66", std::array{132, 66},
         join({{81, Type::Float, {}, 132, true}, {78, Type::Float, {}, 66, true}, {76, Type::Long, {}, 65, true}})},
        {"0 by 0 leaves the page size out", std::array{0, 0}, join({})},
        {"width only", std::array{80, 0}, join({{81, Type::Float, {}, 80, true}})},
        {"length only", std::array{0, 12},
         join({{78, Type::Float, {}, 12, true}, {76, Type::Long, {}, 11, true}})},
        {"negative sizes are none", std::array{-1, -5}, join({})},
        {"a raw copy has no page size", std::nullopt, join({})},
    };
    for (const Case& c : cases) {
        const std::vector<NewSpooledFileAttribute> attributes =
            NewSpooledFileAttributes(identity, c.pageSize ? c.pageSize->data() : nullptr);
        ASSERT_EQ(attributes.size(), c.expected.size()) << c.name;
        for (size_t i = 0; i < attributes.size(); ++i) {
            const NewSpooledFileAttribute& a = attributes[i];
            const Expected& e = c.expected[i];
            EXPECT_EQ(a.key, e.key) << c.name << " #" << i;
            EXPECT_EQ(a.type, e.type) << c.name << " key " << e.key;
            EXPECT_EQ(a.required, e.required) << c.name << " key " << e.key;
            if (e.type == Type::Text)
                EXPECT_EQ(a.text, e.text) << c.name << " key " << e.key;
            else if (e.type == Type::Float)
                EXPECT_EQ(a.real, static_cast<float>(e.number)) << c.name << " key " << e.key;
            else
                EXPECT_EQ(a.integer, static_cast<std::int32_t>(e.number)) << c.name << " key " << e.key;
        }
    }
}

} // namespace
