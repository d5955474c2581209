#pragma once

#include <chrono>
#include <deque>

// When a keeper looks at its display again, and why. It looks every second in any case, and after an event (resume, unlock, a display change) at 0.5, 2, 5 and 15
// seconds: a driver may reset the ramp more than once while a display wakes. A later
// event's checks take the place of those an earlier one has still to come.
class KeepSchedule {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kPeriod = std::chrono::seconds(1);

    explicit KeepSchedule(Clock::time_point now) : m_periodic(now + kPeriod) {}

    // cause names the event in the keeper's log ("resume", "unlock", ...); it must
    // outlive the schedule (a string literal).
    void EventAt(Clock::time_point now, const char* cause);
    Clock::time_point NextCheck() const;
    // Takes the checks that are due at now, and returns the cause of the check that
    // runs now: the latest event whose checks are due, else "periodic check".
    // Null when nothing is due.
    const char* TakeDue(Clock::time_point now);

private:
    struct Check {
        Clock::time_point at;
        const char* cause;
    };
    std::deque<Check> m_checks;  // in time order
    Clock::time_point m_periodic;
};
