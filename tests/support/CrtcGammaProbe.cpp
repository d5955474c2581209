#include "support/CrtcGammaProbe.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <algorithm>
#include <memory>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
struct ResourcesFreer {
    void operator()(XRRScreenResources* resources) const { XRRFreeScreenResources(resources); }
};
struct OutputFreer {
    void operator()(XRROutputInfo* info) const { XRRFreeOutputInfo(info); }
};
struct GammaFreer {
    void operator()(XRRCrtcGamma* gamma) const { XRRFreeGamma(gamma); }
};
using DisplayHolder = std::unique_ptr<Display, DisplayCloser>;
using GammaHolder = std::unique_ptr<XRRCrtcGamma, GammaFreer>;

RRCrtc FindCrtc(Display* display, const std::string& outputName)
{
    for (int screen = 0; screen < ScreenCount(display); ++screen) {
        std::unique_ptr<XRRScreenResources, ResourcesFreer> resources(
            XRRGetScreenResourcesCurrent(display, RootWindow(display, screen)));
        for (int i = 0; resources && i < resources->noutput; ++i) {
            std::unique_ptr<XRROutputInfo, OutputFreer> info(
                XRRGetOutputInfo(display, resources.get(), resources->outputs[i]));
            if (info && outputName == info->name)
                return info->crtc;
        }
    }
    return None;
}

} // namespace

std::optional<CrtcGammaTable> ReadCrtcGamma(const std::string& outputName)
{
    DisplayHolder display(XOpenDisplay(nullptr));
    const RRCrtc crtc = display ? FindCrtc(display.get(), outputName) : None;
    if (crtc == None)
        return std::nullopt;
    GammaHolder gamma(XRRGetCrtcGamma(display.get(), crtc));
    if (!gamma)
        return std::nullopt;
    const auto channel = [&](const unsigned short* entries) {
        return std::vector<std::uint16_t>(entries, entries + gamma->size);
    };
    return CrtcGammaTable{channel(gamma->red), channel(gamma->green), channel(gamma->blue)};
}

bool WriteCrtcGamma(const std::string& outputName, const CrtcGammaTable& table)
{
    DisplayHolder display(XOpenDisplay(nullptr));
    const RRCrtc crtc = display ? FindCrtc(display.get(), outputName) : None;
    if (crtc == None)
        return false;
    const int size = static_cast<int>(table.red.size());
    if (XRRGetCrtcGammaSize(display.get(), crtc) != size)
        return false;
    GammaHolder gamma(XRRAllocGamma(size));
    std::copy(table.red.begin(), table.red.end(), gamma->red);
    std::copy(table.green.begin(), table.green.end(), gamma->green);
    std::copy(table.blue.begin(), table.blue.end(), gamma->blue);
    XRRSetCrtcGamma(display.get(), crtc, gamma.get());
    XSync(display.get(), False);
    return true;
}
