#include "platform/framework/Clock.h"
#include "platform/framework/ScreenResolution.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QTime>

namespace {

using kwvd::Clock;
using kwvd::FixedClock;

class ClockTest : public ::testing::Test
{
protected:
    void SetUp() override { Clock::Reset(); }
    void TearDown() override { Clock::Reset(); }

    const QDateTime m_leapDay{QDate(2024, 2, 29), QTime(12, 34, 56, 789), Qt::UTC};
    const QDateTime m_newYear{QDate(2000, 1, 1), QTime(0, 0), Qt::UTC};
};

TEST_F(ClockTest, SystemClockUntilFixed)
{
    EXPECT_FALSE(Clock::FixedTime().has_value());
    const QDateTime before = QDateTime::currentDateTimeUtc();
    const QDateTime now = Clock::Now();
    const QDateTime after = QDateTime::currentDateTimeUtc();
    EXPECT_EQ(now.timeSpec(), Qt::UTC);
    EXPECT_LE(before, now);
    EXPECT_LE(now, after);
}

TEST_F(ClockTest, FixedTimeInBothForms)
{
    ASSERT_TRUE(Clock::SetFixed(m_leapDay));
    EXPECT_EQ(Clock::Now(), m_leapDay);
    EXPECT_EQ(Clock::Now(), m_leapDay);
    EXPECT_EQ(Clock::NowFileTime().ticks, 133'536'836'967'890'000u);

    Clock::Reset();
    EXPECT_FALSE(Clock::FixedTime().has_value());
    EXPECT_GT(Clock::Now(), m_leapDay);
}

TEST_F(ClockTest, FixedTimeIsGivenInUtc)
{
    const QDateTime plusTwo(QDate(1970, 1, 1), QTime(2, 0), Qt::OffsetFromUTC, 7200);
    ASSERT_TRUE(Clock::SetFixed(plusTwo));
    EXPECT_EQ(Clock::Now().timeSpec(), Qt::UTC);
    EXPECT_EQ(Clock::Now().toMSecsSinceEpoch(), 0);
    EXPECT_EQ(Clock::NowFileTime().ticks, kwvd::kUnixEpochTicks);
}

struct RefusedCase
{
    const char* name;
    QDateTime time;
};

TEST_F(ClockTest, TimesAFileTimeCannotHoldAreRefused)
{
    const RefusedCase cases[] = {
        {"invalid", QDateTime()},
        {"before 1601", QDateTime(QDate(1600, 12, 31), QTime(23, 59), Qt::UTC)},
        {"after 30827", QDateTime(QDate(30828, 1, 1), QTime(0, 0), Qt::UTC)},
    };
    ASSERT_TRUE(Clock::SetFixed(m_leapDay));
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(Clock::SetFixed(c.time));
        EXPECT_EQ(Clock::Now(), m_leapDay);
    }
}

TEST_F(ClockTest, GuardPutsBackWhatWasThere)
{
    {
        FixedClock outer(m_leapDay);
        EXPECT_EQ(Clock::Now(), m_leapDay);
        {
            FixedClock inner(m_newYear);
            EXPECT_EQ(Clock::Now(), m_newYear);
        }
        EXPECT_EQ(Clock::Now(), m_leapDay);
    }
    EXPECT_FALSE(Clock::FixedTime().has_value());
}

TEST(ScreenResolution, NinetySixUntilSet)
{
    using kwvd::ScreenResolution;
    ScreenResolution::Reset();
    EXPECT_EQ(ScreenResolution::LogPixelsX(), 96);
    EXPECT_EQ(ScreenResolution::LogPixelsY(), 96);

    ASSERT_TRUE(ScreenResolution::SetLogPixels(120, 144));
    EXPECT_EQ(ScreenResolution::LogPixelsX(), 120);
    EXPECT_EQ(ScreenResolution::LogPixelsY(), 144);

    // Callers divide by these, so nothing below 1 is taken.
    EXPECT_FALSE(ScreenResolution::SetLogPixels(0, 96));
    EXPECT_FALSE(ScreenResolution::SetLogPixels(96, -1));
    EXPECT_EQ(ScreenResolution::LogPixelsX(), 120);
    EXPECT_EQ(ScreenResolution::LogPixelsY(), 144);

    ScreenResolution::Reset();
    EXPECT_EQ(ScreenResolution::LogPixelsX(), 96);
    EXPECT_EQ(ScreenResolution::LogPixelsY(), 96);
}

} // namespace
