#pragma once

#include <cstdint>
#include <memory>

class ByteSource;

using CurveArray = std::unique_ptr<std::uint16_t[]>;

// Reads the video card calibration curves of a colour profile: the first `mLUT` or
// `vcgt` tag of its tag table, brought to *count entries per curve. On true the three
// arrays hold *count entries each; on false they are left as they were. Reports what
// it finds through LogMessage and LogError.
bool ReadProfileCurves(const char* path, CurveArray& red, CurveArray& green, CurveArray& blue,
                       const std::uint32_t* count);

struct ProfileCurveSet {
    CurveArray red;
    CurveArray green;
    CurveArray blue;
};

// The parser behind ReadProfileCurves. On true the set holds three curves of count
// entries (count > 0); on false it is left as it was. name appears in log lines.
bool ParseProfileCurves(ByteSource& source, const char* name, std::uint32_t count, ProfileCurveSet& curves);
