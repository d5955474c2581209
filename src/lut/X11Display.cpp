#include "lut/X11Display.h"

#include <memory>

namespace {

// Xlib reports errors through one process-wide handler, so the code it records has
// to live outside any object. Only the thread that holds a connection touches it.
int g_firstErrorCode = 0;

int RecordError(Display*, XErrorEvent* event)
{
    if (g_firstErrorCode == 0)
        g_firstErrorCode = event->error_code;
    return 0;
}

template <typename T, void (*Free)(T*)>
struct XFreer {
    void operator()(T* p) const { Free(p); }
};
using ScreenResources = std::unique_ptr<XRRScreenResources, XFreer<XRRScreenResources, XRRFreeScreenResources>>;
using OutputInfo = std::unique_ptr<XRROutputInfo, XFreer<XRROutputInfo, XRRFreeOutputInfo>>;

struct XDataFreer {
    void operator()(unsigned char* p) const { XFree(p); }
};
using PropertyData = std::unique_ptr<unsigned char, XDataFreer>;

bool HasRandr12(Display* display)
{
    int eventBase = 0, errorBase = 0, major = 0, minor = 0;
    return XRRQueryExtension(display, &eventBase, &errorBase) && XRRQueryVersion(display, &major, &minor) &&
           (major > 1 || (major == 1 && minor >= 2));
}

// The bytes of the named property when it is 8-bit and no larger than maxBytes.
// `read` fetches up to the given number of 32-bit units from the start.
template <typename Read>
std::vector<std::uint8_t> ReadProperty8(Display* display, const char* name, std::size_t maxBytes, Read read)
{
    // A name the server has never heard of cannot be set on anything.
    const Atom atom = XInternAtom(display, name, True);
    if (atom == None)
        return {};
    Atom type = None;
    int format = 0;
    unsigned long itemCount = 0, bytesAfter = 0;
    unsigned char* raw = nullptr;
    const long units = static_cast<long>(maxBytes / 4 + 1);
    if (read(atom, units, &type, &format, &itemCount, &bytesAfter, &raw) != Success)
        return {};
    PropertyData data(raw);
    if (!data || type == None || format != 8 || bytesAfter != 0 || itemCount > maxBytes)
        return {};
    return std::vector<std::uint8_t>(data.get(), data.get() + itemCount);
}

} // namespace

X11Connection::X11Connection()
{
    m_display = XOpenDisplay(nullptr);
    if (m_display) {
        g_firstErrorCode = 0;
        m_previousHandler = XSetErrorHandler(RecordError);
    }
}

X11Connection::~X11Connection()
{
    if (!m_display)
        return;
    XCloseDisplay(m_display);
    XSetErrorHandler(m_previousHandler);
}

int X11Connection::TakeError()
{
    XSync(m_display, False);
    const int code = g_firstErrorCode;
    g_firstErrorCode = 0;
    return code;
}

void VisitX11Outputs(X11Connection& connection, const std::function<bool(X11Output&&)>& visit)
{
    Display* display = connection.Get();
    if (!HasRandr12(display))
        return;
    for (int screen = 0; screen < ScreenCount(display); ++screen) {
        const Window root = RootWindow(display, screen);
        const ScreenResources resources(XRRGetScreenResourcesCurrent(display, root));
        if (!resources)
            continue;
        for (int i = 0; i < resources->noutput; ++i) {
            const OutputInfo info(XRRGetOutputInfo(display, resources.get(), resources->outputs[i]));
            if (!info || info->connection != RR_Connected || info->crtc == None)
                continue;
            if (visit(X11Output{resources->outputs[i], info->crtc, root, std::string(info->name, info->nameLen)}))
                return;
        }
    }
}

std::optional<X11Output> FindX11Output(X11Connection& connection, int displayIndex)
{
    std::optional<X11Output> found;
    int remaining = displayIndex;
    if (displayIndex >= 0) {
        VisitX11Outputs(connection, [&](X11Output&& output) {
            if (remaining-- > 0)
                return false;
            found = std::move(output);
            return true;
        });
    }
    return found;
}

std::vector<std::uint8_t> ReadOutputProperty8(X11Connection& connection, RROutput output, const char* name,
                                              std::size_t maxBytes)
{
    Display* display = connection.Get();
    return ReadProperty8(display, name, maxBytes,
                         [&](Atom atom, long units, Atom* type, int* format, unsigned long* count,
                             unsigned long* after, unsigned char** data) {
                             return XRRGetOutputProperty(display, output, atom, 0, units, False, False,
                                                         AnyPropertyType, type, format, count, after, data);
                         });
}

std::vector<std::uint8_t> ReadWindowProperty8(X11Connection& connection, Window window, const char* name,
                                              std::size_t maxBytes)
{
    Display* display = connection.Get();
    return ReadProperty8(display, name, maxBytes,
                         [&](Atom atom, long units, Atom* type, int* format, unsigned long* count,
                             unsigned long* after, unsigned char** data) {
                             return XGetWindowProperty(display, window, atom, 0, units, False, AnyPropertyType,
                                                       type, format, count, after, data);
                         });
}
