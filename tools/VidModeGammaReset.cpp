// Sets the X server's video-mode gamma ramp of the default screen to the identity, as
// another program that resets the calibration would. The Wine tests use it: the
// Windows program's gamma goes through this ramp. Exit status 0 when it was set.

#include <X11/Xlib.h>
#include <X11/extensions/xf86vmode.h>

#include <vector>

int main()
{
    Display* display = XOpenDisplay(nullptr);
    if (!display)
        return 2;
    const int screen = DefaultScreen(display);
    int size = 0;
    bool set = false;
    if (XF86VidModeGetGammaRampSize(display, screen, &size) && size > 1) {
        std::vector<unsigned short> ramp(static_cast<std::size_t>(size));
        for (int i = 0; i < size; ++i)
            ramp[static_cast<std::size_t>(i)] = static_cast<unsigned short>(i * 65535 / (size - 1));
        set = XF86VidModeSetGammaRamp(display, screen, size, ramp.data(), ramp.data(), ramp.data());
        XSync(display, False);
    }
    XCloseDisplay(display);
    return set ? 0 : 1;
}
