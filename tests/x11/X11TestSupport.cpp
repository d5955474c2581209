#include "X11TestSupport.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>

#include <memory>

namespace {

struct DisplayCloser {
    void operator()(Display* display) const { XCloseDisplay(display); }
};
using DisplayHolder = std::unique_ptr<Display, DisplayCloser>;

RROutput FindOutput(Display* display, const std::string& name)
{
    XRRScreenResources* resources = XRRGetScreenResourcesCurrent(display, DefaultRootWindow(display));
    RROutput found = None;
    for (int i = 0; resources && i < resources->noutput && found == None; ++i) {
        XRROutputInfo* info = XRRGetOutputInfo(display, resources, resources->outputs[i]);
        if (info && name == info->name)
            found = resources->outputs[i];
        XRRFreeOutputInfo(info);
    }
    XRRFreeScreenResources(resources);
    return found;
}

void Run(const std::string& command)
{
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

} // namespace

bool XServerReachable()
{
    DisplayHolder display(XOpenDisplay(nullptr));
    int eventBase = 0, errorBase = 0;
    return display && XRRQueryExtension(display.get(), &eventBase, &errorBase);
}

CrtcGammaTable TableOf(const GammaRamp& ramp)
{
    CrtcGammaTable table;
    for (auto [channel, entries] : {std::pair{0, &table.red}, {1, &table.green}, {2, &table.blue}})
        entries->assign(ramp.Channel(channel).begin(), ramp.Channel(channel).end());
    return table;
}

GammaRamp DistinctRamp(int seed)
{
    GammaRamp ramp;
    for (std::size_t i = 0; i < GammaRamp::kEntryCount; ++i) {
        const std::size_t level = i % GammaRamp::kChannelSize, channel = i / GammaRamp::kChannelSize;
        ramp.entries[i] = static_cast<std::uint16_t>(level * (200 + 20 * channel + seed) + 7 * channel + seed);
    }
    return ramp;
}

SavedGammaTables::SavedGammaTables()
{
    for (const char* output : {"DUMMY0", "DUMMY1"}) {
        if (auto table = ReadCrtcGamma(output))
            m_saved.emplace_back(output, *table);
    }
}

SavedGammaTables::~SavedGammaTables()
{
    for (const auto& [output, table] : m_saved)
        WriteCrtcGamma(output, table);
}

SecondDisplay::SecondDisplay()
{
    // The mode may already have been added by an earlier test.
    std::system("xrandr --addmode DUMMY1 1280x1024 2>/dev/null");
    Run("xrandr --output DUMMY1 --mode 1280x1024 --right-of DUMMY0");
    // The driver reports the output connected from the next probe on, as a real server
    // does after a monitor is plugged in; a plain query probes.
    Run("xrandr --query >/dev/null");
}

SecondDisplay::~SecondDisplay()
{
    SwitchOff();
}

void SecondDisplay::SwitchOff()
{
    Run("xrandr --output DUMMY1 --off");
}

ProfileProperty::ProfileProperty(const std::string& name, const std::vector<std::uint8_t>& bytes,
                                 const char* outputName, int format)
    : m_name(name), m_outputName(outputName ? outputName : "")
{
    DisplayHolder display(XOpenDisplay(nullptr));
    EXPECT_TRUE(display);
    if (!display)
        return;
    const Atom atom = XInternAtom(display.get(), name.c_str(), False);
    const int count = static_cast<int>(bytes.size()) / (format / 8);
    if (m_outputName.empty())
        XChangeProperty(display.get(), DefaultRootWindow(display.get()), atom, XA_CARDINAL, format, PropModeReplace,
                        bytes.data(), count);
    else
        XRRChangeOutputProperty(display.get(), FindOutput(display.get(), m_outputName), atom, XA_CARDINAL, format,
                                PropModeReplace, bytes.data(), count);
    XSync(display.get(), False);
}

ProfileProperty::~ProfileProperty()
{
    DisplayHolder display(XOpenDisplay(nullptr));
    if (!display)
        return;
    const Atom atom = XInternAtom(display.get(), m_name.c_str(), False);
    if (m_outputName.empty())
        XDeleteProperty(display.get(), DefaultRootWindow(display.get()), atom);
    else
        XRRDeleteOutputProperty(display.get(), FindOutput(display.get(), m_outputName), atom);
    XSync(display.get(), False);
}
