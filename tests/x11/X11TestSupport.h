#pragma once

// What the X11 tests share: the private X server (Xorg with the dummy driver, whose
// first output DUMMY0 is the only one connected at start), a second display that a
// test switches on, root-window and output properties, and the first display's
// gamma table, each put back as it was when the holder goes away.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "lut/GammaRamp.h"
#include "support/CrtcGammaProbe.h"

// Skips the test without an X server, unless the run demands one (scripts/test does),
// in which case the test fails.
#define RAMPWISE_REQUIRE_X_SERVER()                                                                     \
    do {                                                                                              \
        if (!XServerReachable()) {                                                                    \
            if (std::getenv("RAMPWISE_REQUIRE_X11"))                                                  \
                FAIL() << "no X server with RandR at DISPLAY; scripts/test starts one";               \
            GTEST_SKIP() << "no X server at DISPLAY";                                                 \
        }                                                                                             \
    } while (false)

bool XServerReachable();

// The CRTC table that a ramp of 256 entries per channel becomes on the dummy driver.
CrtcGammaTable TableOf(const GammaRamp& ramp);
// A ramp whose channels differ and whose low bytes differ from the high ones.
GammaRamp DistinctRamp(int seed);

// Keeps the gamma tables of DUMMY0 and DUMMY1 and puts them back.
class SavedGammaTables {
public:
    SavedGammaTables();
    ~SavedGammaTables();

private:
    std::vector<std::pair<std::string, CrtcGammaTable>> m_saved;
};

// Switches on the dummy driver's second output DUMMY1 right of DUMMY0, so that
// display index 1 exists, and switches it off again.
class SecondDisplay {
public:
    SecondDisplay();
    ~SecondDisplay();
    SecondDisplay(const SecondDisplay&) = delete;
    SecondDisplay& operator=(const SecondDisplay&) = delete;

    static void SwitchOff();
};

// An 8-bit property on the root window of screen 0, or on a named output, removed
// when the holder goes away.
class ProfileProperty {
public:
    ProfileProperty(const std::string& name, const std::vector<std::uint8_t>& bytes, const char* outputName = nullptr,
                    int format = 8);
    ~ProfileProperty();
    ProfileProperty(const ProfileProperty&) = delete;
    ProfileProperty& operator=(const ProfileProperty&) = delete;

private:
    std::string m_name;
    std::string m_outputName;
};
