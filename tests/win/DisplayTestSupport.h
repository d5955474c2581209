#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lut/DisplayAccess.h"
#include "lut/GammaRamp.h"
#include "support/RecordingLog.h"

// Wine keeps 8 bits per ramp entry (see DisplayAccessTest.cpp), so the ramps the tests
// write have every entry a multiple of 257: entry i of a channel is
// 257 * round(255 * (i / 255) ^ exponent).
inline GammaRamp CurveRamp(double red, double green, double blue)
{
    const double exponents[] = {red, green, blue};
    GammaRamp ramp;
    for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel) {
        auto entries = ramp.Channel(channel);
        for (std::size_t i = 0; i < entries.size(); ++i)
            entries[i] = static_cast<std::uint16_t>(
                257 * std::lround(255.0 * std::pow(static_cast<double>(i) / 255.0, exponents[channel])));
    }
    return ramp;
}

// Every entry set to the same value.
inline GammaRamp FlatRamp(std::uint16_t value)
{
    GammaRamp ramp;
    ramp.entries.fill(value);
    return ramp;
}

// The raw LUT file of a ramp: its entries as little-endian 16-bit words.
inline std::vector<std::uint8_t> LutFileBytes(const GammaRamp& ramp)
{
    std::vector<std::uint8_t> bytes;
    for (std::uint16_t entry : ramp.entries) {
        bytes.push_back(static_cast<std::uint8_t>(entry & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(entry >> 8));
    }
    return bytes;
}

// Success when the log holds exactly one line: an error made of the prefix and the
// platform's error code.
inline ::testing::AssertionResult LoggedOnlyError(std::string_view prefix)
{
    const std::vector<LoggedLine>& lines = LoggedLines();
    if (lines.size() == 1 && lines[0].isError && lines[0].text.starts_with(prefix)) {
        std::string_view code = std::string_view(lines[0].text).substr(prefix.size());
        if (code.starts_with('-'))
            code.remove_prefix(1);
        if (!code.empty() && code.find_first_not_of("0123456789") == std::string_view::npos)
            return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult failure = ::testing::AssertionFailure();
    failure << "expected the single error line \"" << prefix << "<code>\"; the log holds:";
    for (const LoggedLine& line : lines)
        failure << "\n  " << (line.isError ? "error: " : "message: ") << line.text;
    return failure;
}

// Tests that change the ramp of display 0: the ramp found there is put back afterwards.
class DisplayRampTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ReadDisplayRamp(0, m_saved)) << "display 0 has no readable ramp";
        ClearLog();
    }
    void TearDown() override { WriteDisplayRamp(0, m_saved); }

    // The ramp display 0 has now; an all-zero ramp when it cannot be read.
    static GammaRamp CurrentRamp()
    {
        GammaRamp ramp;
        EXPECT_TRUE(ReadDisplayRamp(0, ramp));
        return ramp;
    }

private:
    GammaRamp m_saved;
};
