#include "app/KeepCore.h"

#include <utility>

#include "app/KeepBackOff.h"
#include "app/KeepLog.h"
#include "app/KeepRules.h"
#include "base/Log.h"
#include "lut/RampOperations.h"

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

namespace {

// A keeper at work, once its ramp is on the display.
class Keeping {
public:
    static constexpr int kRampRuleChecks = 5;

    Keeping(const LaunchArguments& arguments, KeepPort& port, KeepClock& clock, KeptMonitor& monitor,
            const GammaRamp& ramp)
        : m_arguments(arguments), m_port(port), m_clock(clock), m_monitor(monitor), m_ramp(ramp),
          m_schedule(clock.Now())
    {
        m_status.named = arguments.displayParameter;
        m_status.monitor = monitor.Name().Text();
        m_status.source = arguments.lutSource;
        m_status.since = clock.WallNow();
        m_status.index = monitor.Find();
    }

    int Run();

private:
    // Looks at the display, and writes what it should hold when it no longer does.
    // cause names the check in the log; a quiet check (no cause) logs no re-apply.
    void Check(const char* cause);
    // What the keeper should do now.
    StandDown Decide(int index);
    // A stand-down begins, changes or ends.
    void Follow(int index, StandDown next);
    // What the display should hold now; nothing while the keeper writes nothing.
    const GammaRamp* Target();
    void Log(int index, const char* cause, int largest);
    void Publish();

    const LaunchArguments& m_arguments;
    KeepPort& m_port;
    KeepClock& m_clock;
    KeptMonitor& m_monitor;
    GammaRamp m_ramp;  // the calibration
    KeepSchedule m_schedule;
    KeepBackOff m_backOff;
    const char* m_event = nullptr;  // an event whose first check has yet to find the monitor
    bool m_quiet = false;           // a stand-down began: its ramp is written without a re-apply line
    KeepRules m_rules = ReadKeepRules("", kSystemProgramNames);
    std::optional<bool> m_hdr;  // asked at the first check after an event (HDR going on or off is one)
    StandDown m_standDown;
    int m_checks = 0;
    GammaRamp m_standDownRamp;  // what a linear or source stand-down keeps
    KeepStatus m_status;
    KeepStatus m_published;
    bool m_userPaused = false;
};

int Keeping::Run()
{
    for (;;) {
        if (const char* cause = m_schedule.TakeDue(m_clock.Now()))
            Check(cause);
        Publish();
        const KeepWake wake = m_port.Wait(m_schedule.NextCheck());
        switch (wake.kind) {
        case KeepWake::Kind::Due:
            break;
        case KeepWake::Kind::Event:
            m_schedule.EventAt(m_clock.Now(), wake.cause);
            m_monitor.Forget();
            m_event = wake.cause;
            m_hdr.reset();
            m_backOff.Reset();
            break;
        case KeepWake::Kind::NewRamp:
            // The display has it already; a quiet check writes it again in case the
            // keeper put the one before back meanwhile.
            m_ramp = wake.ramp;
            m_status.source = wake.source.empty() ? "a ramp from the window" : wake.source;
            m_status.since = m_clock.WallNow();
            m_backOff.Reset();
            Check(nullptr);
            break;
        case KeepWake::Kind::Pause:
        case KeepWake::Kind::Resume:
            // Resumed, the check after it finds the stand-down over and writes.
            m_userPaused = wake.kind == KeepWake::Kind::Pause;
            if (const std::optional<int> index = m_monitor.Find(); index && m_userPaused)
                Follow(*index, StandDown{StandDown::Kind::Paused, {}, {}});
            break;
        case KeepWake::Kind::Stop:
            return 0;
        case KeepWake::Kind::Gone:
            return 1;
        }
    }
}

// A monitor that is away is waited for without a line: its coming back is an event,
// and the check after it writes the ramp again.
void Keeping::Check(const char* cause)
{
    const auto now = m_clock.Now();
    const std::optional<int> index = m_monitor.Find();
    m_status.index = index;
    if (!index)
        return;
    if (const std::optional<std::string> rules = m_port.ChangedRules()) {
        m_rules = ReadKeepRules(*rules, kSystemProgramNames);
        for (const std::string& bad : m_rules.badLines)
            m_port.Log(FormatKeepRuleLine(m_clock.WallNow(), bad));
    }
    // The running programs are looked at before a write, at every check while the
    // keeper stands down (afresh, to see the last of them end), and every fifth check
    // when a rule sets a ramp of its own: listing them costs more than a look at the ramp.
    const bool lookNow = (m_standDown.kind != StandDown::Kind::None && !m_userPaused) ||
                         (m_rules.setsRamps && m_checks++ % kRampRuleChecks == 0);
    if (lookNow)
        Follow(*index, Decide(*index));
    const GammaRamp* target = Target();
    std::optional<RampDifference> difference = target ? m_port.Compare(*index, *target) : std::nullopt;
    if (!lookNow && !m_userPaused && difference && (m_event || !difference->Holds())) {
        Follow(*index, Decide(*index));
        target = Target();
        difference = target ? m_port.Compare(*index, *target) : std::nullopt;
    }
    if (!difference)
        return;
    const bool quiet = !cause || std::exchange(m_quiet, false);
    if (m_event) {
        // After an event the ramp goes back whatever the display reports: a driver may
        // report the ramp it had before a resume while the hardware lost it, or skip a
        // write of the ramp it believes it has, hence the nudge first.
        m_port.Write(*index, OneStepOff(*target));
        if (m_port.Write(*index, *target))
            Log(*index, std::exchange(m_event, nullptr), difference->largest);
    } else if (difference->Holds()) {
        m_backOff.Held(now);
    } else if (quiet) {
        m_port.Write(*index, *target);
    } else if (m_backOff.MayWrite(now) && m_port.Write(*index, *target)) {
        Log(*index, cause, difference->largest);
        if (m_backOff.Wrote(now))
            m_port.Log(FormatKeepGiveWayLine(m_clock.WallNow(), *index, m_monitor.Name().Text()));
    }
}

StandDown Keeping::Decide(int index)
{
    if (!m_hdr)
        m_hdr = m_port.InHdrMode(index);
    return *m_hdr ? StandDown{StandDown::Kind::Hdr, {}, {}}
                  : ChooseStandDown(m_rules, m_port.RunningPrograms(m_standDown.kind != StandDown::Kind::None),
                                    kSystemProgramNames);
}

void Keeping::Follow(int index, StandDown next)
{
    if (next == m_standDown)
        return;
    m_backOff.Reset();
    const std::string& name = m_monitor.Name().Text();
    if (next.kind == StandDown::Kind::Linear) {
        SetLinearRamp(m_standDownRamp);
    } else if (next.kind == StandDown::Kind::Source) {
        LaunchArguments source = m_arguments;
        source.lutSource = next.source;
        if (!m_port.LoadSource(source, index, m_standDownRamp)) {
            m_port.Log(FormatKeepDoingLine(m_clock.WallNow(), index, name, next.source + " cannot be loaded"));
            next.kind = StandDown::Kind::Pause;
        }
    }
    // Back on the calibration, the first check writes it as after an event.
    if (next.kind == StandDown::Kind::None)
        m_event = "stand-down";
    else
        m_port.Log(FormatKeepDoingLine(m_clock.WallNow(), index, name, DescribeStandDown(next)));
    m_quiet = next.kind == StandDown::Kind::Linear || next.kind == StandDown::Kind::Source;
    m_standDown = std::move(next);
}

const GammaRamp* Keeping::Target()
{
    switch (m_standDown.kind) {
    case StandDown::Kind::None:
        return &m_ramp;
    case StandDown::Kind::Linear:
    case StandDown::Kind::Source:
        return &m_standDownRamp;
    case StandDown::Kind::Pause:
    case StandDown::Kind::Hdr:
    case StandDown::Kind::Paused:
        break;
    }
    return nullptr;
}

void Keeping::Log(int index, const char* cause, int largest)
{
    m_status.lastReapply = m_clock.WallNow();
    m_status.lastCause = cause;
    m_port.Log(FormatKeepLogLine(m_status.lastReapply, index, m_monitor.Name().Text(), cause, largest));
}

void Keeping::Publish()
{
    m_status.doing = !m_status.index                  ? "waits for its monitor"
                     : m_standDown.kind != StandDown::Kind::None ? DescribeStandDown(m_standDown)
                     : m_backOff.GivingWay()          ? "gives way to another program that keeps changing the ramp"
                                                      : "keeps its calibration";
    if (m_status != m_published) {
        m_published = m_status;
        m_port.Publish(m_published);
    }
}

} // namespace

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
    return Keeping(arguments, port, clock, monitor, ramp).Run();
}
