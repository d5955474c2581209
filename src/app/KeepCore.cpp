#include "app/KeepCore.h"

#include "app/KeepLog.h"

namespace {

// The display a keeper keeps: the one that had its number when it started. Another
// one that takes the number while it is away is left alone.
class KeptDisplay {
public:
    KeptDisplay(KeepPort& port, int index) : m_port(port), m_index(index), m_name(port.DisplayAt(index)) {}

    // Whether the display is there now, at its number.
    bool IsThere()
    {
        const std::optional<std::string> now = m_port.DisplayAt(m_index);
        if (!now || (m_name && now != m_name))
            return false;
        m_name = now;
        return true;
    }

private:
    KeepPort& m_port;
    int m_index;
    std::optional<std::string> m_name;
};

} // namespace

int RunKeep(const LaunchArguments& arguments, KeepPort& port, KeepClock& clock)
{
    const int index = arguments.DisplayIndex();
    GammaRamp ramp;
    // Loaded first: a source that cannot be loaded leaves the display's keeper running.
    if (!port.LoadSource(arguments, ramp))
        return 1;
    // The keeper before ends before the ramp is written: it would write its own back.
    switch (port.TakeOver(index)) {
    case KeepPort::TakeOverResult::Taken:
        break;
    case KeepPort::TakeOverResult::Failed:
        return 1;
    case KeepPort::TakeOverResult::Superseded:
        return 0;
    }
    if (!port.Apply(index, ramp))
        return 1;
    KeptDisplay display(port, index);
    KeepSchedule schedule(clock.Now());
    for (;;) {
        // A display that is away is waited for without a line: its coming back is an
        // event, and the check after it writes the ramp again.
        if (const char* cause = schedule.TakeDue(clock.Now()); cause && display.IsThere()) {
            const std::optional<RampDifference> difference = port.Compare(index, ramp);
            if (difference && !difference->Holds() && port.Write(index, ramp))
                port.Log(FormatKeepLogLine(clock.WallNow(), index, cause, difference->largest));
        }
        const KeepWake wake = port.Wait(schedule.NextCheck());
        switch (wake.kind) {
        case KeepWake::Kind::Due:
            break;
        case KeepWake::Kind::Event:
            schedule.EventAt(clock.Now(), wake.cause);
            break;
        case KeepWake::Kind::NewRamp:
            ramp = wake.ramp;
            break;
        case KeepWake::Kind::Stop:
            return 0;
        case KeepWake::Kind::Gone:
            return 1;
        }
    }
}
