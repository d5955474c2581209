#include "resize/TrackLimits.h"

void CTrackLimits::LimitMinimumSize(int width, int height)
{
    m_minimumEnabled = true;
    m_minimumTrackSize = SIZE{width, height};
}

void CTrackLimits::ApplyTrackLimits(MINMAXINFO& limits) const
{
    if (m_minimumEnabled)
        limits.ptMinTrackSize = POINT{m_minimumTrackSize.cx, m_minimumTrackSize.cy};
}
