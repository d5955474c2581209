#pragma once

#include <string>

#include "lut/GammaRamp.h"

// Fills the ramp from a raw LUT file (a name ending in ".lut", any case), a
// calibration file (".cal", any case) or the calibration curves of a colour profile
// (any other name). On false the ramp is unchanged. A read error of an open file
// raises CFileException.
bool LoadLutSource(GammaRamp& ramp, std::string path);

// Writes the ramp as a calibration file when the name ends in ".cal" (any case), else
// as a 1536-byte LUT file, by ReplaceFileContent: the old file is replaced only once
// the new one is complete. False when the file cannot be created
// or is read-only; a write error raises CFileException.
bool SaveLutFile(const GammaRamp& ramp, std::string path);

// True when the name alone selects the raw LUT format, or the calibration format.
bool IsLutFileName(const std::string& path);
bool IsCalFileName(const std::string& path);
