// Display access through the gamma tables of X11 RandR CRTCs.

#include "lut/DisplayAccess.h"

#include <memory>
#include <optional>
#include <string>

#include "base/Log.h"
#include "lut/GammaResample.h"
#include "lut/ProfileCache.h"
#include "lut/X11Display.h"

namespace {

// Larger than any colour profile a display carries; X servers refuse far less.
constexpr std::size_t kMaxProfileBytes = 64u << 20;

struct GammaFreer {
    void operator()(XRRCrtcGamma* gamma) const { XRRFreeGamma(gamma); }
};
using CrtcGamma = std::unique_ptr<XRRCrtcGamma, GammaFreer>;

struct OpenCrtc {
    RRCrtc crtc;
    int tableSize;
};

// Enumerates afresh and returns the display's output; logs what failed. The
// connection and the enumeration stand for the platform's display enumeration.
std::optional<X11Output> FindDisplayOutput(X11Connection& connection, int displayIndex)
{
    if (!connection.IsOpen()) {
        LogError("ERROR: EnumDisplayDevices falied %i", 0);
        return std::nullopt;
    }
    std::optional<X11Output> output = FindX11Output(connection, displayIndex);
    if (!output)
        LogError("ERROR: EnumDisplayDevices falied %i", connection.TakeError());
    return output;
}

// Finds the display's CRTC and the size of its gamma table; logs what failed. A CRTC
// without a gamma table stands for a device that cannot be opened.
std::optional<OpenCrtc> OpenDisplayCrtc(X11Connection& connection, int displayIndex)
{
    const std::optional<X11Output> output = FindDisplayOutput(connection, displayIndex);
    if (!output)
        return std::nullopt;
    const int tableSize = XRRGetCrtcGammaSize(connection.Get(), output->crtc);
    const int errorCode = connection.TakeError();
    if (tableSize <= 0 || errorCode != 0) {
        LogError("ERROR: CreateDC falied %i", errorCode);
        return std::nullopt;
    }
    return OpenCrtc{output->crtc, tableSize};
}

std::span<std::uint16_t> Table(unsigned short* entries, int size)
{
    return {reinterpret_cast<std::uint16_t*>(entries), static_cast<std::size_t>(size)};
}

} // namespace

bool ReadDisplayRamp(int displayIndex, GammaRamp& ramp)
{
    X11Connection connection;
    const std::optional<OpenCrtc> crtc = OpenDisplayCrtc(connection, displayIndex);
    if (!crtc)
        return false;
    const CrtcGamma gamma(XRRGetCrtcGamma(connection.Get(), crtc->crtc));
    const int errorCode = connection.TakeError();
    if (!gamma || gamma->size != crtc->tableSize || errorCode != 0) {
        LogError("ERROR: GetDeviceGammaRamp falied %i", errorCode);
        return false;
    }
    unsigned short* channels[] = {gamma->red, gamma->green, gamma->blue};
    for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel)
        ResampleGammaTable(Table(channels[channel], gamma->size), ramp.Channel(channel));
    return true;
}

bool WriteDisplayRamp(int displayIndex, const GammaRamp& ramp)
{
    X11Connection connection;
    const std::optional<OpenCrtc> crtc = OpenDisplayCrtc(connection, displayIndex);
    if (!crtc)
        return false;
    const CrtcGamma gamma(XRRAllocGamma(crtc->tableSize));
    if (!gamma) {
        LogError("ERROR: SetDeviceGammaRamp falied %i", 0);
        return false;
    }
    unsigned short* channels[] = {gamma->red, gamma->green, gamma->blue};
    for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel)
        ResampleGammaTable(ramp.Channel(channel), Table(channels[channel], gamma->size));
    XRRSetCrtcGamma(connection.Get(), crtc->crtc, gamma.get());
    if (const int errorCode = connection.TakeError(); errorCode != 0) {
        LogError("ERROR: SetDeviceGammaRamp falied %i", errorCode);
        return false;
    }
    return true;
}

std::string GetDisplayProfilePath(int displayIndex)
{
    X11Connection connection;
    const std::optional<X11Output> output = FindDisplayOutput(connection, displayIndex);
    if (!output)
        return {};
    // The output's own profile first, then the screen-wide one that colour-managed
    // desktops set on the root window: _ICC_PROFILE for the first display,
    // _ICC_PROFILE_n for display n.
    std::vector<std::uint8_t> profile = ReadOutputProperty8(connection, output->output, "_ICC_PROFILE", kMaxProfileBytes);
    if (profile.empty()) {
        const std::string name =
            displayIndex == 0 ? std::string("_ICC_PROFILE") : "_ICC_PROFILE_" + std::to_string(displayIndex);
        profile = ReadWindowProperty8(connection, output->root, name.c_str(), kMaxProfileBytes);
    }
    if (profile.empty())
        return {};
    return StoreDisplayProfile(displayIndex, profile);
}

// The X server has no adapter names: the output stands for both.
std::vector<DisplayListing> ListDisplays()
{
    std::vector<DisplayListing> displays;
    X11Connection connection;
    if (!connection.IsOpen())
        return displays;
    VisitX11Outputs(connection, [&](X11Output&& output) {
        displays.push_back({static_cast<int>(displays.size()), output.name, output.name});
        return false;
    });
    return displays;
}
