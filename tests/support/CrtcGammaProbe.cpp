#include "support/CrtcGammaProbe.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>

namespace {

template <auto Free>
struct Freer {
    template <typename T>
    void operator()(T* p) const { Free(p); }
};
using DisplayHolder = std::unique_ptr<Display, Freer<XCloseDisplay>>;
using GammaHolder = std::unique_ptr<XRRCrtcGamma, Freer<XRRFreeGamma>>;

RRCrtc FindCrtc(Display* display, const std::string& outputName)
{
    for (int screen = 0; screen < ScreenCount(display); ++screen) {
        std::unique_ptr<XRRScreenResources, Freer<XRRFreeScreenResources>> resources(
            XRRGetScreenResourcesCurrent(display, RootWindow(display, screen)));
        for (int i = 0; resources && i < resources->noutput; ++i) {
            std::unique_ptr<XRROutputInfo, Freer<XRRFreeOutputInfo>> info(
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
    const GammaHolder gamma(crtc == None ? nullptr : XRRGetCrtcGamma(display.get(), crtc));
    if (!gamma)
        return std::nullopt;
    const auto channel = [&](const unsigned short* entries) {
        return std::vector<std::uint16_t>(entries, entries + gamma->size);
    };
    return CrtcGammaTable{channel(gamma->red), channel(gamma->green), channel(gamma->blue)};
}
