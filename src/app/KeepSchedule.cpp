#include "app/KeepSchedule.h"

#include <algorithm>

// The checks of an event still to come give way to those of the event after it, so
// that events that come close together (a storm of mode switches) make one series
// of checks, timed from the last of them.
void KeepSchedule::EventAt(Clock::time_point now, const char* cause)
{
    using std::chrono::milliseconds;
    m_checks.clear();
    for (const milliseconds delay : {milliseconds(500), milliseconds(2000), milliseconds(5000), milliseconds(15000)})
        m_checks.push_back({now + delay, cause});
}

KeepSchedule::Clock::time_point KeepSchedule::NextCheck() const
{
    return m_checks.empty() ? m_periodic : std::min(m_checks.front().at, m_periodic);
}

const char* KeepSchedule::TakeDue(Clock::time_point now)
{
    const char* cause = nullptr;
    while (!m_checks.empty() && m_checks.front().at <= now) {
        cause = m_checks.front().cause;
        m_checks.pop_front();
    }
    if (m_periodic <= now) {
        cause = cause ? cause : "periodic check";
        // A keeper that was suspended does not owe the checks it missed.
        m_periodic = now + kPeriod;
    }
    return cause;
}
