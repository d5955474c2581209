#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A connection to the X server that DISPLAY names, closed when the holder goes away.
// While it is open, X protocol errors are recorded for TakeError instead of ending
// the process, which is what Xlib does by default.
class X11Connection {
public:
    X11Connection();
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    bool IsOpen() const { return m_display != nullptr; }
    Display* Get() const { return m_display; }

    // Waits until the server has handled every request sent so far, then returns the
    // code of the first error among them, or 0, and forgets it.
    int TakeError();

private:
    Display* m_display = nullptr;
    XErrorHandler m_previousHandler = nullptr;
};

// An output that shows a picture: connected and driving a CRTC.
struct X11Output {
    RROutput output;
    RRCrtc crtc;
    Window root;  // root window of the output's screen
    std::string name;
};

// Calls visit for each connected output that has a CRTC, screen by screen in RandR's
// order, until it returns true. Nothing when the server lacks RandR 1.2.
void VisitX11Outputs(X11Connection& connection, const std::function<bool(X11Output&&)>& visit);

// The output at the display index among those VisitX11Outputs visits.
std::optional<X11Output> FindX11Output(X11Connection& connection, int displayIndex);

// The bytes of an 8-bit property of an output or of a window. Empty when the property is absent, of another format, or larger than
// `maxBytes`.
std::vector<std::uint8_t> ReadOutputProperty8(X11Connection& connection, RROutput output, const char* name,
                                              std::size_t maxBytes);
std::vector<std::uint8_t> ReadWindowProperty8(X11Connection& connection, Window window, const char* name,
                                              std::size_t maxBytes);
