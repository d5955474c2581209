#include "app/KeepCore.h"

#include <utility>

#include "app/KeepBackOff.h"
#include "app/KeepLog.h"
#include "base/Log.h"

namespace {

// The monitor a keeper keeps, by the name that finds it wherever it is plugged in.
class KeptMonitor {
public:
    KeptMonitor(KeepPort& port, DisplayName name) : m_port(port), m_name(std::move(name)) {}

    const DisplayName& Name() const { return m_name; }
    // Its index now; nothing while it is away, or while its identity is not its alone.
    // Every change of the displays is an event: the displays are listed again only
    // after one, so that a check costs no more than a look at the one display.
    std::optional<int> Find()
    {
        if (!m_found)
            m_found = ChooseDisplay(m_name, m_port.Displays()).index;
        return *m_found;
    }
    void Forget() { m_found.reset(); }

private:
    KeepPort& m_port;
    DisplayName m_name;
    std::optional<std::optional<int>> m_found;  // nothing: to be looked for
};

// The monitor that the command line names now, by its lasting name; nothing, after a
// line that says why, when it names none.
std::optional<DisplayName> NamedMonitor(const LaunchArguments& arguments, KeepPort& port)
{
    const std::vector<DisplayListing> displays = port.Displays();
    const DisplayChoice choice = ChooseDisplay(ReadDisplayName(arguments.displayParameter), displays);
    if (!choice.index)
        LogError("%s", choice.why.c_str());
    return LastingNameAt(choice.index, displays);
}

// The ramp with every entry one 8-bit level away, so that a driver that compares at
// 8 bits sees a change too.
GammaRamp OneStepOff(const GammaRamp& ramp)
{
    GammaRamp off = ramp;
    for (std::uint16_t& entry : off.entries)
        entry = static_cast<std::uint16_t>(entry >= 256 ? entry - 256 : entry + 256);
    return off;
}

} // namespace

std::string KeptMonitorName(const std::string& displayArgument, const std::vector<DisplayListing>& displays)
{
    const DisplayName name = ReadDisplayName(displayArgument);
    return LastingNameAt(ChooseDisplay(name, displays).index, displays).value_or(name).Text();
}

int RunKeep(const LaunchArguments& arguments, KeepPort& port, KeepClock& clock)
{
    const std::optional<DisplayName> named = NamedMonitor(arguments, port);
    if (!named)
        return 1;
    KeptMonitor monitor(port, *named);
    GammaRamp ramp;
    // Loaded first: a source that cannot be loaded leaves the monitor's keeper running.
    std::optional<int> index = monitor.Find();
    if (!index || !port.LoadSource(arguments, *index, ramp))
        return 1;
    // The keeper before ends before the ramp is written: it would write its own back.
    switch (port.TakeOver(monitor.Name().Text())) {
    case KeepPort::TakeOverResult::Taken:
        break;
    case KeepPort::TakeOverResult::Failed:
        return 1;
    case KeepPort::TakeOverResult::Superseded:
        return 0;
    }
    // The take-over may have taken a while: the monitor is looked for again.
    monitor.Forget();
    index = monitor.Find();
    if (!index || !port.Apply(*index, ramp))
        return 1;
    KeepSchedule schedule(clock.Now());
    KeepBackOff backOff;
    const char* event = nullptr;  // an event whose first check has yet to find the monitor
    for (;;) {
        // A monitor that is away is waited for without a line: its coming back is an
        // event, and the check after it writes the ramp again.
        if (const char* cause = schedule.TakeDue(clock.Now())) {
            const auto now = clock.Now();
            index = monitor.Find();
            const std::optional<RampDifference> difference = index ? port.Compare(*index, ramp) : std::nullopt;
            const auto log = [&](const char* why) {
                port.Log(FormatKeepLogLine(clock.WallNow(), *index, monitor.Name().Text(), why, difference->largest));
            };
            if (difference && event) {
                // After an event the ramp goes back whatever the display reports: a driver
                // may report the ramp it had before a resume while the hardware lost it,
                // or skip a write of the ramp it believes it has, hence the nudge first.
                port.Write(*index, OneStepOff(ramp));
                if (port.Write(*index, ramp))
                    log(std::exchange(event, nullptr));
            } else if (difference && difference->Holds()) {
                backOff.Held(now);
            } else if (difference && backOff.MayWrite(now) && port.Write(*index, ramp)) {
                log(cause);
                if (backOff.Wrote(now))
                    port.Log(FormatKeepGiveWayLine(clock.WallNow(), *index, monitor.Name().Text()));
            }
        }
        const KeepWake wake = port.Wait(schedule.NextCheck());
        switch (wake.kind) {
        case KeepWake::Kind::Due:
            break;
        case KeepWake::Kind::Event:
            schedule.EventAt(clock.Now(), wake.cause);
            monitor.Forget();
            event = wake.cause;
            backOff.Reset();
            break;
        case KeepWake::Kind::NewRamp:
            ramp = wake.ramp;
            backOff.Reset();
            break;
        case KeepWake::Kind::Stop:
            return 0;
        case KeepWake::Kind::Gone:
            return 1;
        }
    }
}
