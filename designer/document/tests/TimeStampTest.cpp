// The upload time stamp: its archive halves, its host text form and the
// reading of that text.

#include "designer/document/TimeStamp.h"
#include "designer/document/DocumentClasses.h"
#include "platform/framework/Archive.h"
#include "platform/framework/Clock.h"
#include "platform/framework/MemFile.h"
#include "tests/support/ArchiveBytes.h"

#include <gtest/gtest.h>

#include <QDateTime>

#include <functional>
#include <memory>
#include <vector>

namespace {

kwvd::FileTime FromUtc(int year, int month, int day, int hour, int minute, int second, int ms)
{
    kwvd::CivilTime civil;
    civil.year = year;
    civil.month = month;
    civil.day = day;
    civil.hour = hour;
    civil.minute = minute;
    civil.second = second;
    civil.milliseconds = ms;
    kwvd::FileTime time;
    EXPECT_TRUE(kwvd::CivilTimeToFileTime(civil, time));
    return time;
}

// 2000-01-01 00:00:00 UTC: (946684800 + 11644473600) seconds since 1601.
constexpr ULONGLONG kY2kTicks = 125'911'584'000'000'000ULL; // 0x01BF53EB256D4000

CTimeStamp StampOf(ULONGLONG ticks)
{
    CTimeStamp stamp;
    stamp.SetFileTime(kwvd::FileTime{ticks});
    return stamp;
}

class TimeStampArchive : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { RegisterDocumentClasses(); }
};

TEST_F(TimeStampArchive, StoresLowHalfThenHighHalf)
{
    CTimeStamp stamp = StampOf(kY2kTicks);
    const Bytes expected = Hex("00 40 6D 25  EB 53 BF 01");
    EXPECT_EQ(Store([&](CArchive& ar) { stamp.Serialize(ar); }), expected);

    CTimeStamp read;
    Load(expected, [&](CArchive& ar) { read.Serialize(ar); });
    EXPECT_EQ(read.GetFileTime().ticks, kY2kTicks);
}

TEST_F(TimeStampArchive, TravelsAsRegisteredObjectOfSchemaZero)
{
    const CTimeStamp stamp = StampOf(kY2kTicks);
    const Bytes expected = Hex("FF FF 00 00 0A 00") + Ascii("CTimeStamp") + Hex("00 40 6D 25 EB 53 BF 01");
    EXPECT_EQ(Store([&](CArchive& ar) { ar.WriteObject(&stamp); }), expected);

    Load(expected, [](CArchive& ar) {
        std::unique_ptr<CTimeStamp> read(ar.ReadObject<CTimeStamp>());
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(read->GetFileTime().ticks, kY2kTicks);
    });
}

TEST_F(TimeStampArchive, ShortDataRaisesEndOfFileAndKeepsTheStamp)
{
    CTimeStamp stamp = StampOf(kY2kTicks);
    try {
        Load(Hex("01 02 03 04 05 06 07"), [&](CArchive& ar) { stamp.Serialize(ar); });
        FAIL() << "seven bytes read as a time stamp";
    } catch (const CArchiveException& e) {
        EXPECT_EQ(e.m_cause, CArchiveException::endOfFile);
    }
    EXPECT_EQ(stamp.GetFileTime().ticks, kY2kTicks);
}

TEST(TimeStampFormat, Table)
{
    struct Case
    {
        const char* name;
        ULONGLONG ticks;
        const char* expected;
    };
    const Case cases[] = {
        {"ZeroIsEmpty", 0, ""},
        {"Y2kMidnight", kY2kTicks, "2000-01-01-00.00.00.000000"},
        {"MillisecondsThenThreeZeros", kY2kTicks + 45'296'789ULL * 10'000, "2000-01-01-12.34.56.789000"},
        {"SubMillisecondTicksDropped", kY2kTicks + 1'239'999, "2000-01-01-00.00.00.123000"},
        {"FirstTickIsNotZero", 10'000, "1601-01-01-00.00.00.001000"},
        {"PastTheLastCalendarDayIsEmpty", kwvd::kMaxFileTimeTicks + 1, ""},
        {"HighBitSetIsEmpty", 0xFFFFFFFFFFFFFFFFULL, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(StampOf(c.ticks).Format().toStdString(), c.expected);
    }
}

TEST(TimeStampFormat, FormatAS400TimestampIsTwentySixCharacters)
{
    kwvd::CivilTime latest;
    latest.year = 9999;
    latest.month = 12;
    latest.day = 31;
    latest.hour = 23;
    latest.minute = 59;
    latest.second = 59;
    latest.milliseconds = 999;
    EXPECT_EQ(FormatAS400Timestamp(latest).toStdString(), "9999-12-31-23.59.59.999000");

    kwvd::CivilTime early;
    early.year = 1601;
    early.month = 2;
    early.day = 3;
    early.hour = 4;
    early.minute = 5;
    early.second = 6;
    early.milliseconds = 7;
    EXPECT_EQ(FormatAS400Timestamp(early).toStdString(), "1601-02-03-04.05.06.007000");
}

TEST(TimeStampParse, Table)
{
    struct Case
    {
        const char* name;
        const char* text;
        ULONGLONG expected; // 0: the stamp is cleared
    };
    const Case cases[] = {
        {"Y2k", "2000-01-01-00.00.00.000000", kY2kTicks},
        {"AllFields", "2024-02-29-13.45.07.123000", FromUtc(2024, 2, 29, 13, 45, 7, 123).ticks},
        {"MicrosecondsAfterMillisecondsIgnored", "2000-01-01-00.00.00.123999", kY2kTicks + 1'230'000},
        {"OtherSeparatorsIgnored", "2000/01/01 12:34:56,789", FromUtc(2000, 1, 1, 12, 34, 56, 789).ticks},
        {"DateOnlyIsMidnight", "2000-01-01", kY2kTicks},
        {"NumberEndsAtNonDigit", "2000-1x-2y-3z.4..5..6", FromUtc(2000, 1, 2, 3, 4, 5, 6).ticks},
        {"Empty", "", 0},
        {"Blank", "                          ", 0},
        {"Garbage", "not a time stamp at all!!!", 0},
        {"YearZero", "0000-01-01-00.00.00.000000", 0},
        {"BeforeFileTimes", "1600-12-31-23.59.59.999000", 0},
        {"MonthThirteen", "2000-13-01-00.00.00.000000", 0},
        {"MonthZero", "2000-00-01-00.00.00.000000", 0},
        {"FebruaryThirtieth", "2000-02-30-00.00.00.000000", 0},
        {"NoLeapDayIn1900", "1900-02-29-00.00.00.000000", 0},
        {"HourTwentyFour", "2000-01-01-24.00.00.000000", 0},
        {"MinuteSixty", "2000-01-01-00.60.00.000000", 0},
        {"SecondSixty", "2000-01-01-00.00.60.000000", 0},
        {"LeadingBlankInMonth", "2000- 1-01-00.00.00.000000", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Start from a set stamp, so a cleared one shows the parse cleared it.
        CTimeStamp stamp = StampOf(kY2kTicks + 7 * kwvd::kTicksPerSecond);
        stamp.Parse(QString::fromLatin1(c.text));
        EXPECT_EQ(stamp.GetFileTime().ticks, c.expected);
        EXPECT_EQ(stamp.IsZero() != 0, c.expected == 0);
    }
}

TEST(TimeStampParse, RoundTripToTheMillisecond)
{
    struct Case
    {
        const char* name;
        ULONGLONG ticks;
    };
    const Case cases[] = {
        {"FirstMillisecond", 10'000},
        {"Y2k", kY2kTicks},
        {"LeapDay", FromUtc(2024, 2, 29, 23, 59, 59, 999).ticks},
        {"EndOf9999", FromUtc(9999, 12, 31, 23, 59, 59, 999).ticks},
        {"SubMillisecondDropped", kY2kTicks + 9'999},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CTimeStamp read;
        read.Parse(StampOf(c.ticks).Format());
        EXPECT_EQ(read.GetFileTime().ticks, c.ticks - c.ticks % kwvd::kTicksPerMillisecond);
    }
}

TEST(TimeStampClock, SetToCurrentTimeTakesTheProcessClock)
{
    const QDateTime fixed(QDate(2000, 1, 1), QTime(0, 0, 1, 500), Qt::UTC);
    kwvd::FixedClock clock(fixed);
    CTimeStamp stamp;
    EXPECT_TRUE(stamp.IsZero());
    stamp.SetToCurrentTime();
    EXPECT_EQ(stamp.GetFileTime().ticks, kY2kTicks + 15'000'000);
    EXPECT_EQ(stamp.Format().toStdString(), "2000-01-01-00.00.01.500000");
}

} // namespace
