#pragma once

#include <windows.h>

// The smallest size a window may be dragged to: its size when it was created.
class CTrackLimits {
public:
    virtual ~CTrackLimits() = default;

    void LimitMinimumSize(int width, int height);
    // Sets the minimum track size of the platform's size-limit query, once enabled;
    // every other field keeps what the platform proposed.
    void ApplyTrackLimits(MINMAXINFO& limits) const;

private:
    bool m_minimumEnabled = false;
    SIZE m_minimumTrackSize{};
};
