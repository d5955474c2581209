#pragma once

#include <string>

#include "lut/GammaRamp.h"

// Fills the ramp from a calibration file: CGATS text that begins with "CAL" and holds
// a table of RGB_I RGB_R RGB_G RGB_B rows. On false the ramp is unchanged and, for a
// file that could be read, one error line names the file, the line and what is wrong.
// A read error of an open file raises CFileException.
bool LoadCalFile(GammaRamp& ramp, const std::string& path);

// The calibration file of the ramp: 256 rows, whose values read back as exactly the
// ramp. created is the text of the CREATED keyword.
std::string FormatCalFile(const GammaRamp& ramp, const std::string& created);

// Writes FormatCalFile's text, dated now, by ReplaceFileContent.
bool SaveCalFile(const GammaRamp& ramp, const std::string& path);
