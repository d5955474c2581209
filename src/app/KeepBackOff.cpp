#include "app/KeepBackOff.h"

#include <algorithm>

bool KeepBackOff::Wrote(Clock::time_point now)
{
    m_writes.push_back(now);
    while (now - m_writes.front() > kBurstSpan)
        m_writes.pop_front();
    const bool starts = m_wait == Clock::duration::zero() && static_cast<int>(m_writes.size()) >= kBurst;
    if (starts)
        m_wait = kFirstWait;
    else if (m_wait != Clock::duration::zero())
        m_wait = std::min<Clock::duration>(2 * m_wait, kLongestWait);
    m_notBefore = now + m_wait;
    return starts;
}

void KeepBackOff::Held(Clock::time_point now)
{
    if (m_wait != Clock::duration::zero() && !m_writes.empty() && now - m_writes.back() >= kCalm)
        Reset();
}
