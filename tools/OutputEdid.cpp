// Gives a RandR output of the X server that DISPLAY names an EDID property, as a driver
// does when a monitor is plugged in, or removes it: output_edid OUTPUT HEX-BYTES|-.
// The tests use it to put monitors with the EDIDs they build on the dummy outputs.

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

bool ReadHex(const char* text, std::vector<unsigned char>& bytes)
{
    const std::size_t length = std::strlen(text);
    for (std::size_t i = 0; i + 1 < length; i += 2) {
        unsigned value = 0;
        if (std::sscanf(text + i, "%2x", &value) != 1)
            return false;
        bytes.push_back(static_cast<unsigned char>(value));
    }
    return length % 2 == 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<unsigned char> edid;
    const bool remove = argc == 3 && std::strcmp(argv[2], "-") == 0;
    if (argc != 3 || (!remove && !ReadHex(argv[2], edid))) {
        std::fputs("usage: output_edid OUTPUT HEX-BYTES|-\n", stderr);
        return 2;
    }
    Display* x = XOpenDisplay(nullptr);
    if (!x) {
        std::fputs("output_edid: the X server is not reachable\n", stderr);
        return 1;
    }
    // Removing a property that the output does not have is no failure.
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(x, DefaultRootWindow(x));
    const Atom atom = XInternAtom(x, "EDID", False);
    bool found = false;
    for (int i = 0; resources && i < resources->noutput; ++i) {
        XRROutputInfo* info = XRRGetOutputInfo(x, resources, resources->outputs[i]);
        if (info && std::string(info->name, static_cast<std::size_t>(info->nameLen)) == argv[1]) {
            found = true;
            if (remove)
                XRRDeleteOutputProperty(x, resources->outputs[i], atom);
            else
                XRRChangeOutputProperty(x, resources->outputs[i], atom, XA_INTEGER, 8, PropModeReplace, edid.data(),
                                        static_cast<int>(edid.size()));
        }
        XRRFreeOutputInfo(info);
    }
    XRRFreeScreenResources(resources);
    XCloseDisplay(x);  // after every request has been handled
    if (!found)
        std::fprintf(stderr, "output_edid: no output %s\n", argv[1]);
    return found ? 0 : 1;
}
