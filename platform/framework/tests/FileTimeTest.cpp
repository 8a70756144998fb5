#include "platform/framework/FileTime.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QTime>

namespace {

using kwvd::CivilTime;
using kwvd::FileTime;

QDateTime Utc(const CivilTime& c)
{
    return QDateTime(QDate(c.year, c.month, c.day), QTime(c.hour, c.minute, c.second, c.milliseconds), Qt::UTC);
}

struct AnchorCase
{
    const char* name;
    CivilTime civil; // dayOfWeek: 0 is Sunday
    ULONGLONG ticks;
};

// Tick counts worked out from the calendar: days since 1601-01-01 times
// 864000000000, plus the time of day.
const AnchorCase kAnchors[] = {
    {"first moment", {1601, 1, 1, 0, 0, 0, 0, 1}, 0},
    {"first millisecond", {1601, 1, 1, 0, 0, 0, 1, 1}, 10'000},
    {"1900 is no leap year", {1900, 3, 1, 0, 0, 0, 0, 4}, 94'405'824'000'000'000},
    {"unix epoch", {1970, 1, 1, 0, 0, 0, 0, 4}, 116'444'736'000'000'000},
    {"2000-01-01", {2000, 1, 1, 0, 0, 0, 0, 6}, 125'911'584'000'000'000},
    {"2000 is a leap year", {2000, 2, 29, 0, 0, 0, 0, 2}, 125'962'560'000'000'000},
    {"leap day 2024", {2024, 2, 29, 12, 34, 56, 789, 4}, 133'536'836'967'890'000},
    {"end of 9999", {9999, 12, 31, 23, 59, 59, 999, 5}, 2'650'467'743'999'990'000},
    {"end of the range", {30827, 12, 31, 23, 59, 59, 999, 5}, 9'223'149'887'999'990'000},
};

TEST(FileTime, CivilTimeAnchors)
{
    for (const AnchorCase& c : kAnchors) {
        SCOPED_TRACE(c.name);
        FileTime time;
        ASSERT_TRUE(kwvd::CivilTimeToFileTime(c.civil, time));
        EXPECT_EQ(time.ticks, c.ticks);

        CivilTime back;
        ASSERT_TRUE(kwvd::FileTimeToCivilTime(FileTime{c.ticks}, back));
        EXPECT_EQ(back, c.civil);

        EXPECT_EQ(kwvd::FileTimeToDateTime(FileTime{c.ticks}), Utc(c.civil));
        FileTime fromDateTime;
        ASSERT_TRUE(kwvd::DateTimeToFileTime(Utc(c.civil), fromDateTime));
        EXPECT_EQ(fromDateTime.ticks, c.ticks);
    }
}

TEST(FileTime, InputDayOfWeekIsIgnored)
{
    FileTime time;
    ASSERT_TRUE(kwvd::CivilTimeToFileTime({1970, 1, 1, 0, 0, 0, 0, 6}, time));
    EXPECT_EQ(time.ticks, kwvd::kUnixEpochTicks);
}

// Every day of five centuries against Qt's own calendar.
TEST(FileTime, EveryDayAgreesWithQDate)
{
    const qint64 firstDay = QDate(1601, 1, 1).toJulianDay();
    constexpr ULONGLONG kTicksPerDay = 864'000'000'000;
    for (qint64 day = 0; day < 5 * 146'097 / 4; ++day) {
        const QDate date = QDate::fromJulianDay(firstDay + day);
        CivilTime civil;
        ASSERT_TRUE(kwvd::FileTimeToCivilTime(FileTime{static_cast<ULONGLONG>(day) * kTicksPerDay + 1}, civil));
        ASSERT_EQ(QDate(civil.year, civil.month, civil.day), date) << "day " << day;
        ASSERT_EQ(civil.dayOfWeek, date.dayOfWeek() % 7) << "day " << day;

        FileTime back;
        ASSERT_TRUE(kwvd::CivilTimeToFileTime({date.year(), date.month(), date.day(), 0, 0, 0, 0, 0}, back));
        ASSERT_EQ(back.ticks, static_cast<ULONGLONG>(day) * kTicksPerDay) << "day " << day;
    }
}

struct InvalidCase
{
    const char* name;
    CivilTime civil;
};

TEST(FileTime, InvalidCivilTimesAreRefused)
{
    const InvalidCase cases[] = {
        {"month 0", {2024, 0, 1, 0, 0, 0, 0, 0}},
        {"month 13", {2024, 13, 1, 0, 0, 0, 0, 0}},
        {"day 0", {2024, 1, 0, 0, 0, 0, 0, 0}},
        {"31 April", {2024, 4, 31, 0, 0, 0, 0, 0}},
        {"29 February of a common year", {2023, 2, 29, 0, 0, 0, 0, 0}},
        {"29 February 1900", {1900, 2, 29, 0, 0, 0, 0, 0}},
        {"30 February of a leap year", {2024, 2, 30, 0, 0, 0, 0, 0}},
        {"hour 24", {2024, 1, 1, 24, 0, 0, 0, 0}},
        {"minute 60", {2024, 1, 1, 0, 60, 0, 0, 0}},
        {"second 60", {2024, 1, 1, 0, 0, 60, 0, 0}},
        {"millisecond 1000", {2024, 1, 1, 0, 0, 0, 1000, 0}},
        {"negative millisecond", {2024, 1, 1, 0, 0, 0, -1, 0}},
        {"negative hour", {2024, 1, 1, -1, 0, 0, 0, 0}},
        {"before 1601", {1600, 12, 31, 23, 59, 59, 999, 0}},
        {"after 30827", {30828, 1, 1, 0, 0, 0, 0, 0}},
        {"all zero", {}},
    };
    for (const InvalidCase& c : cases) {
        SCOPED_TRACE(c.name);
        FileTime time{12345};
        EXPECT_FALSE(kwvd::CivilTimeToFileTime(c.civil, time));
        EXPECT_EQ(time.ticks, 12345u);
    }
}

TEST(FileTime, BeyondTheRangeIsRefused)
{
    const FileTime past{kwvd::kMaxFileTimeTicks + 1};
    CivilTime civil{2024, 1, 1, 0, 0, 0, 0, 1};
    EXPECT_FALSE(kwvd::FileTimeToCivilTime(past, civil));
    EXPECT_EQ(civil.year, 2024);
    EXPECT_FALSE(kwvd::FileTimeToDateTime(past).isValid());

    ASSERT_TRUE(kwvd::FileTimeToCivilTime(FileTime{kwvd::kMaxFileTimeTicks}, civil));
    EXPECT_EQ(civil, (CivilTime{30827, 12, 31, 23, 59, 59, 999, 5}));
}

TEST(FileTime, TicksBelowAMillisecondAreDropped)
{
    CivilTime civil;
    ASSERT_TRUE(kwvd::FileTimeToCivilTime(FileTime{kwvd::kUnixEpochTicks + 19'999}, civil));
    EXPECT_EQ(civil.milliseconds, 1);
    EXPECT_EQ(kwvd::FileTimeToDateTime(FileTime{kwvd::kUnixEpochTicks + 19'999}).toMSecsSinceEpoch(), 1);
    // Before 1970 the millisecond is still the one the tick lies in.
    EXPECT_EQ(kwvd::FileTimeToDateTime(FileTime{kwvd::kUnixEpochTicks - 1}).toMSecsSinceEpoch(), -1);
}

struct DateTimeCase
{
    const char* name;
    QDateTime time;
    bool valid;
    ULONGLONG ticks;
};

TEST(FileTime, FromDateTime)
{
    const DateTimeCase cases[] = {
        {"invalid", QDateTime(), false, 0},
        {"last millisecond before 1601", QDateTime(QDate(1600, 12, 31), QTime(23, 59, 59, 999), Qt::UTC), false, 0},
        {"first moment of 30828", QDateTime(QDate(30828, 1, 1), QTime(0, 0), Qt::UTC), false, 0},
        {"offset from UTC taken off", QDateTime(QDate(1970, 1, 1), QTime(2, 0), Qt::OffsetFromUTC, 7200), true,
         kwvd::kUnixEpochTicks},
        {"before the epoch", QDateTime(QDate(1969, 12, 31), QTime(23, 59, 59, 999), Qt::UTC), true,
         kwvd::kUnixEpochTicks - 10'000},
    };
    for (const DateTimeCase& c : cases) {
        SCOPED_TRACE(c.name);
        FileTime time{12345};
        EXPECT_EQ(kwvd::DateTimeToFileTime(c.time, time), c.valid);
        EXPECT_EQ(time.ticks, c.valid ? c.ticks : 12345u);
    }
}

struct TimeTCase
{
    const char* name;
    std::time_t seconds;
    bool valid;
    ULONGLONG ticks;
};

TEST(FileTime, TimeT)
{
    const TimeTCase cases[] = {
        {"epoch", 0, true, kwvd::kUnixEpochTicks},
        {"one second before the epoch", -1, true, kwvd::kUnixEpochTicks - 10'000'000},
        {"1601", -11'644'473'600, true, 0},
        {"before 1601", -11'644'473'601, false, 0},
        {"last second of 30827", 910'670'515'199, true, 9'223'149'887'990'000'000},
        {"after 30827", 910'670'515'200, false, 0},
    };
    for (const TimeTCase& c : cases) {
        SCOPED_TRACE(c.name);
        FileTime time{12345};
        EXPECT_EQ(kwvd::TimeTToFileTime(c.seconds, time), c.valid);
        EXPECT_EQ(time.ticks, c.valid ? c.ticks : 12345u);
        if (c.valid) {
            EXPECT_EQ(kwvd::FileTimeToTimeT(time), c.seconds);
        }
    }
    // Parts of a second round down, before the epoch as after it.
    EXPECT_EQ(kwvd::FileTimeToTimeT(FileTime{kwvd::kUnixEpochTicks + 9'999'999}), 0);
    EXPECT_EQ(kwvd::FileTimeToTimeT(FileTime{kwvd::kUnixEpochTicks - 1}), -1);
}

TEST(FileTime, HalvesAsStored)
{
    const FileTime epoch{kwvd::kUnixEpochTicks};
    EXPECT_EQ(epoch.Low(), 0xD53E8000u);
    EXPECT_EQ(epoch.High(), 0x019DB1DEu);
    EXPECT_EQ(FileTime::FromHalves(0xD53E8000u, 0x019DB1DEu), epoch);
    EXPECT_EQ(FileTime::FromHalves(0xFFFFFFFFu, 0).ticks, 0xFFFFFFFFull);
}

} // namespace
