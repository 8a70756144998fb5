#include "platform/framework/FileTime.h"

#include <cstdint>

namespace kwvd {

namespace {

constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;
constexpr std::int64_t kTicksPerDay = 86'400 * static_cast<std::int64_t>(kTicksPerSecond);
constexpr std::int64_t kDaysPer400Years = 146'097;
// From 1600-03-01 to 1601-01-01.
constexpr std::int64_t kMarchToJanuary = 306;

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Counting years from March puts the leap day at the end of the year, so the
// day of the year follows from the month alone. 1600 opens a 400-year cycle,
// which keeps every figure here non-negative for years from 1601.
std::int64_t DaysSince1601(int year, int month, int day)
{
    const int marchYear = year - 1600 - (month <= 2 ? 1 : 0);
    const int era = marchYear / 400;
    const int yearOfEra = marchYear % 400;
    const int monthFromMarch = month > 2 ? month - 3 : month + 9;
    const int dayOfYear = (153 * monthFromMarch + 2) / 5 + day - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * kDaysPer400Years + dayOfEra - kMarchToJanuary;
}

void CivilFromDays(std::int64_t days, int& year, int& month, int& day)
{
    const std::int64_t sinceMarch = days + kMarchToJanuary;
    const std::int64_t era = sinceMarch / kDaysPer400Years;
    const int dayOfEra = static_cast<int>(sinceMarch - era * kDaysPer400Years);
    const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int monthFromMarch = (5 * dayOfYear + 2) / 153;
    day = dayOfYear - (153 * monthFromMarch + 2) / 5 + 1;
    month = monthFromMarch < 10 ? monthFromMarch + 3 : monthFromMarch - 9;
    year = static_cast<int>(era * 400 + yearOfEra + 1600 + (month <= 2 ? 1 : 0));
}

bool IsValid(const CivilTime& c)
{
    return c.year >= kFirstYear && c.year <= kLastYear && c.month >= 1 && c.month <= 12 && c.day >= 1
           && c.day <= DaysInMonth(c.year, c.month) && c.hour >= 0 && c.hour <= 23 && c.minute >= 0 && c.minute <= 59
           && c.second >= 0 && c.second <= 59 && c.milliseconds >= 0 && c.milliseconds <= 999;
}

} // namespace

bool CivilTimeToFileTime(const CivilTime& civil, FileTime& out)
{
    if (!IsValid(civil))
        return false;
    const std::int64_t seconds = (civil.hour * 60 + civil.minute) * 60 + civil.second;
    const std::int64_t ticks = DaysSince1601(civil.year, civil.month, civil.day) * kTicksPerDay
                               + seconds * static_cast<std::int64_t>(kTicksPerSecond)
                               + civil.milliseconds * static_cast<std::int64_t>(kTicksPerMillisecond);
    out.ticks = static_cast<ULONGLONG>(ticks);
    return true;
}

bool FileTimeToCivilTime(FileTime time, CivilTime& out)
{
    if (time.ticks > kMaxFileTimeTicks)
        return false;
    const std::int64_t ticks = static_cast<std::int64_t>(time.ticks);
    const std::int64_t days = ticks / kTicksPerDay;
    const std::int64_t ofDay = ticks % kTicksPerDay;
    CivilTime civil;
    CivilFromDays(days, civil.year, civil.month, civil.day);
    const std::int64_t milliseconds = ofDay / static_cast<std::int64_t>(kTicksPerMillisecond);
    civil.milliseconds = static_cast<int>(milliseconds % 1000);
    civil.second = static_cast<int>(milliseconds / 1000 % 60);
    civil.minute = static_cast<int>(milliseconds / 60'000 % 60);
    civil.hour = static_cast<int>(milliseconds / 3'600'000);
    // 1601-01-01 was a Monday.
    civil.dayOfWeek = static_cast<int>((days + 1) % 7);
    out = civil;
    return true;
}

QDateTime FileTimeToDateTime(FileTime time)
{
    if (time.ticks > kMaxFileTimeTicks)
        return {};
    // Counting from 1601 keeps the division unsigned, so times before 1970 round down too.
    const auto sinceFirst = static_cast<std::int64_t>(time.ticks / kTicksPerMillisecond);
    const auto epoch = static_cast<std::int64_t>(kUnixEpochTicks / kTicksPerMillisecond);
    return QDateTime::fromMSecsSinceEpoch(sinceFirst - epoch, Qt::UTC);
}

bool DateTimeToFileTime(const QDateTime& time, FileTime& out)
{
    if (!time.isValid())
        return false;
    const std::int64_t milliseconds = time.toMSecsSinceEpoch();
    const std::int64_t first = -static_cast<std::int64_t>(kUnixEpochTicks / kTicksPerMillisecond);
    const std::int64_t last = static_cast<std::int64_t>((kMaxFileTimeTicks - kUnixEpochTicks) / kTicksPerMillisecond);
    if (milliseconds < first || milliseconds > last)
        return false;
    out.ticks = static_cast<ULONGLONG>((milliseconds - first) * static_cast<std::int64_t>(kTicksPerMillisecond));
    return true;
}

std::time_t FileTimeToTimeT(FileTime time)
{
    const auto sinceFirst = static_cast<std::int64_t>(time.ticks / kTicksPerSecond);
    const auto epoch = static_cast<std::int64_t>(kUnixEpochTicks / kTicksPerSecond);
    return static_cast<std::time_t>(sinceFirst - epoch);
}

bool TimeTToFileTime(std::time_t time, FileTime& out)
{
    const std::int64_t seconds = static_cast<std::int64_t>(time);
    const std::int64_t first = -static_cast<std::int64_t>(kUnixEpochTicks / kTicksPerSecond);
    const std::int64_t last = static_cast<std::int64_t>((kMaxFileTimeTicks - kUnixEpochTicks) / kTicksPerSecond);
    if (seconds < first || seconds > last)
        return false;
    out.ticks = static_cast<ULONGLONG>((seconds - first) * static_cast<std::int64_t>(kTicksPerSecond));
    return true;
}

} // namespace kwvd
