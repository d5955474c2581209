#include "base/DisplayIndex.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "base/DecimalText.h"

int ParseDisplayIndex(std::string_view text)
{
    std::size_t pos = 0;
    const DecimalNumber number = ScanDecimal(text, pos);
    return static_cast<int>(std::clamp<std::int64_t>(number.value, std::numeric_limits<std::int32_t>::min(),
                                                      std::numeric_limits<std::int32_t>::max()));
}
