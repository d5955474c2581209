#pragma once

#include <cstdint>

#include "resize/GripBar.h"

// Owns a window's size grip and decides when it is shown. Callers give each reason
// for showing the grip one bit of a reason word of their own; the grip is shown
// while the count of present reasons is above zero.
class CGripHost {
public:
    virtual ~CGripHost() = default;

    // Creates the grip in the host's lower-right corner; false if that failed.
    bool InstallGrip(bool visible, bool triangular);
    // Moves the grip to the corner, behind every other child, shown or hidden.
    void PlaceGrip();
    void ShowGripFor(std::uint32_t& reasons, std::uint32_t mask);
    void HideGripFor(std::uint32_t& reasons, std::uint32_t mask);
    bool IsGripShown() const { return m_showCount > 0; }
    void SetGripShown(bool shown) { m_showCount = shown ? 1 : 0; }

    CGripBar& Grip() { return m_grip; }
    int ShowCount() const { return m_showCount; }

protected:
    virtual CWnd& GetHostWindow() = 0;

private:
    CGripBar m_grip;
    int m_showCount = 0;
};
