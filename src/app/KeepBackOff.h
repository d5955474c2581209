#pragma once

#include <chrono>
#include <deque>

#include "app/KeepSchedule.h"

// How often a keeper may put its ramp back. Another program that changes the ramp
// again and again (a video renderer, a game, a colour-temperature tool) is given way
// to: after kBurst re-applies within kBurstSpan the keeper waits before each further
// one, twice as long each time (from kFirstWait up to kLongestWait), until a display
// event, a ramp handed over, or kCalm in which the ramp held.
class KeepBackOff {
public:
    using Clock = KeepSchedule::Clock;
    static constexpr int kBurst = 3;
    static constexpr auto kBurstSpan = std::chrono::minutes(1);
    static constexpr auto kFirstWait = std::chrono::seconds(2);
    static constexpr auto kLongestWait = std::chrono::minutes(5);
    static constexpr auto kCalm = std::chrono::minutes(10);

    // Whether a re-apply may happen at now.
    bool MayWrite(Clock::time_point now) const { return now >= m_notBefore; }
    // A re-apply at now. True when it is the one that makes the keeper give way: the
    // moment to say so, once.
    bool Wrote(Clock::time_point now);
    // A check at now found that the display holds the ramp.
    void Held(Clock::time_point now);
    // Whether it waits before re-applying now.
    bool GivingWay() const { return m_wait != Clock::duration::zero(); }
    // A display event or a ramp handed over: the normal checks again.
    void Reset() { *this = KeepBackOff(); }

private:
    std::deque<Clock::time_point> m_writes;  // within the last kBurstSpan
    Clock::duration m_wait{};                // zero while not giving way
    Clock::time_point m_notBefore{};
};
