#pragma once
// The one clock of the process. Everything that stamps or shows the current
// time asks it, so tests can fix the time. Local time is had from Now()
// through QDateTime::toLocalTime().

#include "platform/framework/FileTime.h"

#include <QDateTime>

#include <optional>

namespace kwvd {

class Clock
{
public:
    // In UTC: the system clock, or the fixed time while one is set.
    static QDateTime Now();

    // Now() as a file time; zero if it lies outside the file time's range.
    static FileTime NowFileTime();

    // Refuses (false, nothing changed) an invalid time or one a file time
    // cannot hold, so Now() always has a usable answer.
    static bool SetFixed(const QDateTime& time);

    // Back to the system clock.
    static void Reset();

    static std::optional<QDateTime> FixedTime();
};

// Fixes the clock for a scope and puts back whatever was there before.
class FixedClock
{
public:
    explicit FixedClock(const QDateTime& time);
    ~FixedClock();

    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;

private:
    std::optional<QDateTime> m_previous;
};

} // namespace kwvd
