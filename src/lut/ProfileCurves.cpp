#include "lut/ProfileCurves.h"

bool ReadProfileCurves(const char*, CurveArray&, CurveArray&, CurveArray&, const std::uint32_t*)
{
    return false;
}
