// Spooled-file data to pages: one table of hex fixtures, each read with
// blocks of every size a host may deliver, then the merge of lines with one
// number and the failures of the source.

#include "hostaccess/import/scs/SpooledPages.h"

#include "hostaccess/import/scs/ScsReadLine.h"
#include "platform/clientaccess/CodePages.h"
#include "platform/clientaccess/Service.h"
#include "platform/framework/Collections.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include <algorithm>
#include <memory>
#include <ostream>
#include <vector>

namespace {

using Pages = std::vector<std::vector<QString>>;

// Hands out the data in reads of at most `chunk` bytes; fails the read that
// would start at failAt.
class TableSource : public SpooledByteSource
{
public:
    TableSource(QByteArray data, std::size_t chunk, long long failAt = -1)
        : m_data(std::move(data)), m_chunk(chunk), m_failAt(failAt)
    {}

    bool Read(unsigned char* buffer, std::size_t length, std::size_t& bytesRead) override
    {
        if (m_failAt >= 0 && m_offset >= static_cast<std::size_t>(m_failAt))
            return false;
        bytesRead = std::min({length, m_chunk, static_cast<std::size_t>(m_data.size()) - m_offset});
        std::copy_n(m_data.constData() + m_offset, bytesRead, buffer);
        m_offset += bytesRead;
        return true;
    }

    std::size_t Offset() const { return m_offset; }

private:
    QByteArray m_data;
    std::size_t m_chunk;
    long long m_failAt;
    std::size_t m_offset = 0;
};

// The layer's converter in column mode, as the import converts each line.
class ColumnConverter : public SpooledLineConverter
{
public:
    explicit ColumnConverter(unsigned long ccsid)
    {
        cwbSV_CreateErrHandle(&m_errors);
        EXPECT_EQ(cwbNL_CreateConverterEx(ccsid, 1202, kCwbNlColumnMode, &m_converter, m_errors), kCwbOk);
    }
    ~ColumnConverter() override
    {
        cwbNL_DeleteConverter(m_converter, m_errors);
        cwbSV_DeleteErrHandle(m_errors);
    }

    bool Convert(const unsigned char* bytes, int length, QString& text, QString& warning) override
    {
        std::vector<char> target(static_cast<std::size_t>(length) * 4 + 4);
        unsigned long converted = 0;
        const unsigned result = cwbNL_Convert(m_converter, length, target.size(), reinterpret_cast<const char*>(bytes),
                                              target.data(), &converted, nullptr, m_errors);
        if (result != kCwbOk && result != kCwbSubstituted)
            return false;
        text = QString(reinterpret_cast<const QChar*>(target.data()), static_cast<qsizetype>(converted / 2));
        if (result == kCwbSubstituted) {
            char message[512] = {};
            cwbSV_GetErrText(m_errors, message, sizeof message, nullptr);
            warning = QString::fromLatin1(message);
        }
        return true;
    }

private:
    cwbSV_ErrHandle m_errors = 0;
    cwbNL_Converter m_converter = 0;
};

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

// Fills up to `offset` with NUL controls, which the reader ignores.
QByteArray PaddedTo(const char* head, int offset, const char* tail)
{
    QByteArray bytes = Hex(head);
    bytes.append(QByteArray(offset - bytes.size(), '\0'));
    return bytes + Hex(tail);
}

Pages ToPages(const SpooledPageList& list)
{
    Pages pages;
    for (CObject* object : list) {
        auto* page = static_cast<CStringArray*>(object);
        pages.emplace_back(page->begin(), page->end());
    }
    return pages;
}

void FreePages(SpooledPageList& list)
{
    for (CObject* object : list)
        delete object;
    list.RemoveAll();
}

std::string Show(const Pages& pages)
{
    std::string out;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        out += "page " + std::to_string(p + 1) + ":";
        for (std::size_t l = 0; l < pages[p].size(); ++l)
            out += " [" + std::to_string(l) + "]\"" + pages[p][l].toStdString() + "\"";
        out += "\n";
    }
    return out;
}

struct Reading
{
    SpooledPagesResult result;
    Pages pages;
    std::size_t bytesRead = 0;
};

Reading ReadData(const QByteArray& data, SpooledDataKind kind, unsigned long ccsid, int first, int maximum,
                 std::size_t chunk = 1024, long long failAt = -1)
{
    Reading reading;
    TableSource source(data, chunk, failAt);
    SpooledDataReader reader(source);
    EXPECT_TRUE(reader.ReadFirstBlock());
    ColumnConverter converter(ccsid);
    SpooledPageList list;
    reading.result = ReadSpooledPages(reader, kind, first, maximum, converter, list);
    reading.pages = ToPages(list);
    FreePages(list);
    reading.bytesRead = source.Offset();
    return reading;
}

struct ReadCase
{
    const char* name;
    QByteArray data;
    SpooledDataKind kind;
    unsigned long ccsid;
    int first;
    int maximum;
    Pages expected;
    int status;
    int pagesSeen;
};

void PrintTo(const ReadCase& c, std::ostream* os)
{
    *os << c.name;
}

const QString k379Blanks(379, u' ');

const ReadCase kCases[] = {
    {"NewLinesOnAnEmptyLineMoveDownBeforeTheText", Hex("15 15 C1 0C"), SpooledDataKind::Scs, 37, 1, 10,
     {{"", "", "", "A"}}, kScsReading, 1},
    {"CarriageReturnOverstrikesButABlankNeverErases", Hex("C1 C2 C3 0D 40 C4 40 40 C5"), SpooledDataKind::Scs, 37, 1,
     10, {{"", "ADC E"}}, kScsReading, 1},
    {"FormFeedAtTheStartEndsAnEmptyFirstPage", Hex("0C C1 0C"), SpooledDataKind::Scs, 37, 1, 10, {{}, {"", "A"}},
     kScsReading, 2},
    {"AbsoluteMoveUpwardsEndsThePage", Hex("34 C4 05 C1 34 C4 02 C2"), SpooledDataKind::Scs, 37, 1, 10,
     {{"", "", "", "", "", "A"}, {"", "", "B"}}, kScsReading, 2},
    {"ColumnsBeyond379LandOn379", Hex("34 C0 FA 34 C8 A0 C1 C2"), SpooledDataKind::Scs, 37, 1, 10,
     {{"", k379Blanks + u'B'}}, kScsReading, 1},
    {"TwoLinesWithOneNumberMergeTheEarlierWinning", Hex("34 C4 03 C1 40 C3 34 C4 03 C2 C2 C2 C4 0C"),
     SpooledDataKind::Scs, 37, 1, 10, {{"", "", "", "ABCD"}}, kScsReading, 1},
    {"RelativeMovesDownAndAcross", Hex("C1 34 4C 02 34 C8 03 C2 15 C3"), SpooledDataKind::Scs, 37, 1, 10,
     {{"", "A", "", "   B", "C"}}, kScsReading, 1},
    {"FirstThreeMaximumTwoStopsAfterPageFour", Hex("C1 0C C2 0C C3 0C C4 0C C5 0C C6"), SpooledDataKind::Scs, 37, 3,
     2, {{"", "C"}, {"", "D"}}, kScsPageEnd, 4},
    {"LastPageWithoutFormFeedIsKept", Hex("C1 0C C2 15 C3"), SpooledDataKind::Scs, 37, 1, 10,
     {{"", "A"}, {"", "B", "C"}}, kScsReading, 2},
    {"TrailingFormFeedAddsNoEmptyPage", Hex("C1 0C C2 0C"), SpooledDataKind::Scs, 37, 1, 10, {{"", "A"}, {"", "B"}},
     kScsReading, 2},
    {"HorizontalPositionZeroIsColumnZero", Hex("34 C0 00 C1 C2 15 34 C0 01 C3"), SpooledDataKind::Scs, 37, 1, 10,
     {{"", "AB", "C"}}, kScsReading, 1},
    {"PositionZeroOfTheTwoParameterMove", Hex("34 D2 00 04 C1"), SpooledDataKind::Scs, 37, 1, 10,
     {{"", "", "", "", "A"}}, kScsReadingAfterDownMove, 1},
    {"DataEndingInAControlSequenceKeepsTheLine", Hex("C1 2B D1"), SpooledDataKind::Scs, 37, 1, 10, {{"", "A"}},
     kScsReading, 1},
    {"DataEndingAfterAPositionPrefixKeepsTheLine", Hex("C1 34"), SpooledDataKind::Scs, 37, 1, 10, {{"", "A"}},
     kScsReading, 1},
    {"DataEndingInsideTransparentBytesKeepsTheLine", Hex("C1 35 05 C2"), SpooledDataKind::Scs, 37, 1, 10,
     {{"", "A"}}, kScsReading, 1},
    {"ControlSequenceAndTransparentBytesAreSkipped", Hex("2B D2 03 29 00 C1 35 02 C2 C3 C4"), SpooledDataKind::Scs,
     37, 1, 10, {{"", "AD"}}, kScsReading, 1},
    {"ControlSequenceStraddlingABlock", PaddedTo("C1", 1022, "2B D1 04 C1 C1 C1 C2"), SpooledDataKind::Scs, 37, 1,
     10, {{"", "AB"}}, kScsReading, 1},
    {"AbsoluteMoveStraddlingABlockIsReadAgain", PaddedTo("C1", 1023, "34 C4 05 C2"), SpooledDataKind::Scs, 37, 1,
     10, {{"", "A", "", "", "", "B"}}, kScsReadingAfterDownMove, 1},
    {"DoubleByteLineKeepsItsHostColumns", Hex("C1 0E 42 C1 42 C2 0F C2"), SpooledDataKind::Scs, 930, 1, 10,
     {{"", QStringLiteral("A\x0E\xFF21 \xFF22 \x0F") + u'B'}}, kScsReading, 1},
    {"UserAsciiLinesAndPages", Hex("41 42 0D 0A 0D 0A 43 09 80 44 0A 34 33 20 0C 45 0D 46"),
     SpooledDataKind::UserAscii, 37, 1, 10, {{"", "AB", "", QStringLiteral("C\x20AC") + u'D', "43"}, {"", "E", "F"}},
     kScsReading, 2},
};

class ReadPages : public ::testing::TestWithParam<ReadCase>
{};

TEST_P(ReadPages, GivesThePagesWhateverTheBlockSize)
{
    const ReadCase& c = GetParam();
    for (const std::size_t chunk : {std::size_t(1024), std::size_t(1), std::size_t(7)}) {
        const Reading r = ReadData(c.data, c.kind, c.ccsid, c.first, c.maximum, chunk);
        EXPECT_EQ(r.pages, c.expected) << c.name << " in blocks of " << chunk << ", got\n" << Show(r.pages);
        EXPECT_EQ(r.result.status, c.status) << c.name << " in blocks of " << chunk;
        EXPECT_EQ(r.result.pagesSeen, c.pagesSeen) << c.name << " in blocks of " << chunk;
        EXPECT_EQ(r.result.pagesKept, static_cast<int>(c.expected.size())) << c.name;
        EXPECT_TRUE(r.result.warnings.empty()) << c.name;
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ReadPages, ::testing::ValuesIn(kCases));

TEST(ReadPagesStops, AfterTheLastPageAskedForWithoutReadingFurther)
{
    QByteArray data = Hex("C1 0C C2 0C");
    data.append(QByteArray(4096, char(0xC3)));
    const Reading r = ReadData(data, SpooledDataKind::Scs, 37, 1, 1);
    EXPECT_EQ(r.pages, (Pages{{"", "A"}}));
    EXPECT_EQ(r.bytesRead, 1024u);
}

TEST(ReadPagesWarnings, NameThePageInTheFileAndTheLine)
{
    // Page 2, line 7 holds a double-byte code that 930 leaves undefined.
    const Reading r = ReadData(Hex("C1 0C C2 34 C4 07 0E FE FE 0F C3 0C"), SpooledDataKind::Scs, 930, 2, 5);
    ASSERT_EQ(r.result.warnings.size(), 1u);
    EXPECT_EQ(r.result.warnings[0].page, 2);
    EXPECT_EQ(r.result.warnings[0].line, 7);
    EXPECT_FALSE(r.result.warnings[0].text.isEmpty());
}

TEST(ReadPagesFailure, AReadFailingMidwayEndsWithStatus7AndDropsThePageInHand)
{
    QByteArray data = Hex("C1 0C");
    data.append(QByteArray(2000, char(0xC2)));
    const Reading r = ReadData(data, SpooledDataKind::Scs, 37, 1, 10, 1024, 1024);
    EXPECT_EQ(r.result.status, kScsReadFailed);
    EXPECT_EQ(r.pages, (Pages{{"", "A"}}));
}

TEST(ReadPagesFailure, AFailingFirstReadIsReported)
{
    TableSource source(Hex("C1"), 1024, 0);
    SpooledDataReader reader(source);
    EXPECT_FALSE(reader.ReadFirstBlock());
    EXPECT_EQ(reader.GetStatus(), SpooledDataReader::kReadFailed);
}

TEST(ReadPagesRange, BeyondTheLastPageKeepsNothingAndCountsThePages)
{
    const Reading r = ReadData(Hex("C1 0C C2 0C C3"), SpooledDataKind::Scs, 37, 5, 2);
    EXPECT_TRUE(r.pages.empty());
    EXPECT_EQ(r.result.pagesKept, 0);
    EXPECT_EQ(r.result.pagesSeen, 3);
}

struct MergeCase
{
    const char* name;
    std::vector<QString> before;
    int index;
    QString text;
    std::vector<QString> after;
};

void PrintTo(const MergeCase& c, std::ostream* os)
{
    *os << c.name;
}

const MergeCase kMerges[] = {
    {"EmptyTextChangesNothing", {"", "A"}, 3, "   ", {"", "A"}},
    {"NewIndexGrowsThePageWithEmptyLines", {""}, 3, "X  ", {"", "", "", "X"}},
    {"EarlierCharactersStay", {"", "A C"}, 1, "BBBD", {"", "ABCD"}},
    {"ShorterTextFillsOnlyItsLength", {"", "A  D"}, 1, " B", {"", "AB D"}},
    {"EmptyLineTakesTheText", {"", ""}, 1, "Q ", {"", "Q"}},
};

class SetLineMerge : public ::testing::TestWithParam<MergeCase>
{};

TEST_P(SetLineMerge, FollowsTheRule)
{
    const MergeCase& c = GetParam();
    CStringArray page;
    for (const QString& line : c.before)
        page.Add(line);
    SetLine(page, c.index, c.text);
    EXPECT_EQ(std::vector<QString>(page.begin(), page.end()), c.after) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Rules, SetLineMerge, ::testing::ValuesIn(kMerges));

} // namespace
