#pragma once
// The system's file time and a calendar form of it, both in UTC. Dates are
// proleptic Gregorian from 1601 through 30827, the range the system's own
// conversions accept.

#include "platform/framework/Types.h"

#include <QDateTime>

#include <compare>
#include <ctime>

namespace kwvd {

// 100-nanosecond intervals since 1601-01-01 00:00 UTC. Files keep it as two
// 32-bit halves, low first; zero often stands for "no time".
struct FileTime
{
    ULONGLONG ticks = 0;

    DWORD Low() const { return static_cast<DWORD>(ticks); }
    DWORD High() const { return static_cast<DWORD>(ticks >> 32); }

    static FileTime FromHalves(DWORD low, DWORD high) { return FileTime{(static_cast<ULONGLONG>(high) << 32) | low}; }

    friend auto operator<=>(const FileTime&, const FileTime&) = default;
};

inline constexpr ULONGLONG kTicksPerMillisecond = 10'000;
inline constexpr ULONGLONG kTicksPerSecond = 10'000'000;
// 1970-01-01 00:00 UTC.
inline constexpr ULONGLONG kUnixEpochTicks = 116'444'736'000'000'000;
// The last tick of 30827.
inline constexpr ULONGLONG kMaxFileTimeTicks = 9'223'149'887'999'999'999;

struct CivilTime
{
    int year = 0;
    int month = 0; // 1 to 12
    int day = 0;   // 1 to the length of the month
    int hour = 0;
    int minute = 0;
    int second = 0;
    int milliseconds = 0;
    int dayOfWeek = 0; // 0 is Sunday; set on output, ignored on input

    friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// False, with out untouched, for a field out of range or a day the month lacks.
bool CivilTimeToFileTime(const CivilTime& civil, FileTime& out);

// Ticks below a millisecond are dropped. False beyond kMaxFileTimeTicks.
bool FileTimeToCivilTime(FileTime time, CivilTime& out);

// A UTC QDateTime, rounded down to the millisecond; invalid beyond kMaxFileTimeTicks.
QDateTime FileTimeToDateTime(FileTime time);

// False for an invalid time or one outside the file time's range.
bool DateTimeToFileTime(const QDateTime& time, FileTime& out);

// Whole seconds, rounded down.
std::time_t FileTimeToTimeT(FileTime time);
bool TimeTToFileTime(std::time_t time, FileTime& out);

} // namespace kwvd
