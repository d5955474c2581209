#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "lut/DisplayAccess.h"
#include "lut/GammaRamp.h"
#include "support/RecordingLog.h"

// Wine keeps 8 bits per ramp entry, so these ramps have every entry a multiple of 257:
// entry i of a channel is 257 * round(255 * (i / 255) ^ exponent).
inline GammaRamp CurveRamp(double red, double green, double blue)
{
    const double exponents[] = {red, green, blue};
    GammaRamp ramp;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = static_cast<std::uint16_t>(
            257 * std::lround(255.0 * std::pow((i % 256) / 255.0, exponents[i / 256])));
    return ramp;
}

// The raw LUT file of a ramp: its entries as little-endian 16-bit words.
inline std::vector<std::uint8_t> LutFileBytes(const GammaRamp& ramp)
{
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t entry : ramp.entries)
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(entry), static_cast<std::uint8_t>(entry >> 8)});
    return bytes;
}

// The log holds one line: an error made of the prefix and a number.
inline ::testing::AssertionResult LoggedOnlyError(const std::string& prefix)
{
    const std::vector<LoggedLine>& lines = LoggedLines();
    const bool ok = lines.size() == 1 && lines[0].isError && lines[0].text.starts_with(prefix) &&
                    lines[0].text.size() > prefix.size() &&
                    lines[0].text.find_first_not_of("-0123456789", prefix.size()) == std::string::npos;
    ::testing::AssertionResult result = ok ? ::testing::AssertionSuccess() : ::testing::AssertionFailure();
    for (const LoggedLine& line : lines)
        result << "\n  " << line.text;
    return result;
}

// Tests that change the ramp of display 0: the ramp found there is put back afterwards.
class DisplayRampTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ReadDisplayRamp(0, m_saved));
        ClearLog();
    }
    void TearDown() override { WriteDisplayRamp(0, m_saved); }

    static GammaRamp CurrentRamp()
    {
        GammaRamp ramp;
        EXPECT_TRUE(ReadDisplayRamp(0, ramp));
        return ramp;
    }

private:
    GammaRamp m_saved;
};
