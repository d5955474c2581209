#include "lut/LutFile.h"

#include <array>
#include <cstring>
#include <optional>
#include <string_view>

#include "base/AsciiText.h"
#include "base/File.h"
#include "base/FileReplace.h"
#include "lut/ByteSource.h"
#include "lut/CalFile.h"
#include "lut/ProfileCurves.h"

namespace {

constexpr std::size_t kLutFileSize = sizeof(GammaRamp);

// The file holds little-endian entries; the ramp holds native ones.
void DecodeLittleEndian(const std::array<unsigned char, kLutFileSize>& bytes, GammaRamp& ramp)
{
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i)
        ramp.entries[i] = static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
}

std::array<unsigned char, kLutFileSize> EncodeLittleEndian(const GammaRamp& ramp)
{
    std::array<unsigned char, kLutFileSize> bytes{};
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i) {
        bytes[2 * i] = static_cast<unsigned char>(ramp.entries[i] & 0xFF);
        bytes[2 * i + 1] = static_cast<unsigned char>(ramp.entries[i] >> 8);
    }
    return bytes;
}

// False when the file cannot be opened or is shorter than a ramp; a read error of
// the open file raises.
bool LoadLutFile(GammaRamp& ramp, const std::string& path)
{
    FileByteSource file;
    if (!file.Open(path.c_str()))
        return false;
    // Read into a buffer first: a short file must not leave part of itself in the ramp.
    std::array<unsigned char, kLutFileSize> bytes{};
    if (!file.ReadAt(0, bytes.data(), bytes.size())) {
        if (const std::optional<int> error = file.ReadError())
            throw CFileException(*error, path);
        return false;
    }
    DecodeLittleEndian(bytes, ramp);
    return true;
}

bool LoadProfile(GammaRamp& ramp, const std::string& path)
{
    CurveArray red, green, blue;
    const std::uint32_t count = GammaRamp::kChannelSize;
    if (!ReadProfileCurves(path.c_str(), red, green, blue, &count))
        return false;
    const CurveArray* curves[] = {&red, &green, &blue};
    for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel) {
        auto target = ramp.Channel(channel);
        std::memcpy(target.data(), curves[channel]->get(), target.size_bytes());
    }
    return true;
}

// True when the name ends in ending (".xyz") in any letter case.
bool HasEnding(const std::string& path, std::string_view ending)
{
    return path.size() >= ending.size() &&
           EqualsIgnoringAsciiCase(std::string_view(path).substr(path.size() - ending.size()), ending);
}

} // namespace

bool IsLutFileName(const std::string& path)
{
    return HasEnding(path, ".lut");
}

bool IsCalFileName(const std::string& path)
{
    return HasEnding(path, ".cal");
}

bool LoadLutSource(GammaRamp& ramp, std::string path)
{
    if (path.empty())
        return false;
    if (IsCalFileName(path))
        return LoadCalFile(ramp, path);
    return IsLutFileName(path) ? LoadLutFile(ramp, path) : LoadProfile(ramp, path);
}

bool SaveLutFile(const GammaRamp& ramp, std::string path)
{
    if (IsCalFileName(path))
        return SaveCalFile(ramp, path);
    const auto bytes = EncodeLittleEndian(ramp);
    return ReplaceFileContent(path, bytes.data(), bytes.size());
}
