#include "platform/framework/Clock.h"

#include <mutex>

namespace kwvd {

namespace {

struct ClockState
{
    std::mutex mutex;
    std::optional<QDateTime> fixed;
};

ClockState& State()
{
    static ClockState state;
    return state;
}

} // namespace

QDateTime Clock::Now()
{
    {
        ClockState& state = State();
        std::lock_guard lock(state.mutex);
        if (state.fixed)
            return *state.fixed;
    }
    return QDateTime::currentDateTimeUtc();
}

FileTime Clock::NowFileTime()
{
    FileTime time;
    if (!DateTimeToFileTime(Now(), time))
        return FileTime{};
    return time;
}

bool Clock::SetFixed(const QDateTime& time)
{
    FileTime unused;
    if (!DateTimeToFileTime(time, unused))
        return false;
    ClockState& state = State();
    std::lock_guard lock(state.mutex);
    state.fixed = time.toUTC();
    return true;
}

void Clock::Reset()
{
    ClockState& state = State();
    std::lock_guard lock(state.mutex);
    state.fixed.reset();
}

std::optional<QDateTime> Clock::FixedTime()
{
    ClockState& state = State();
    std::lock_guard lock(state.mutex);
    return state.fixed;
}

FixedClock::FixedClock(const QDateTime& time) : m_previous(Clock::FixedTime())
{
    Clock::SetFixed(time);
}

FixedClock::~FixedClock()
{
    if (m_previous)
        Clock::SetFixed(*m_previous);
    else
        Clock::Reset();
}

} // namespace kwvd
