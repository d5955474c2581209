#pragma once

#include "ui/StartupCommands.h"

// The Startup commands' applier of the program: a source loaded as the Load command
// loads it, written to the display through the display access.
class DisplayStartupApplier final : public StartupApplier {
public:
    std::vector<DisplayListing> Displays() override;
    bool Load(GammaRamp& ramp, const std::string& source) override;
    bool Write(int displayIndex, const GammaRamp& ramp) override;
};
