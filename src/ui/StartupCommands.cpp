#include "ui/StartupCommands.h"

#include <algorithm>
#include <utility>

#include "base/LaunchArguments.h"

namespace {

constexpr StartupScope kBothScopes[] = {StartupScope::AllUsers, StartupScope::CurrentUser};

// Whether an entry's DISPLAY names the display now. A number needs no list.
bool NamesDisplay(const DisplayName& name, int displayIndex, const std::vector<DisplayListing>& displays)
{
    if (name.kind == DisplayName::Kind::Number)
        return name.number == displayIndex;
    return ChooseDisplay(name, displays).index == displayIndex;
}

// What a new entry names the display by: its monitor's identity when that finds it
// wherever it goes (and survives the command line), else its number.
std::string EntryDisplay(int displayIndex, const std::vector<DisplayListing>& displays)
{
    const std::optional<DisplayName> lasting = LastingNameAt(displayIndex, displays);
    if (lasting && lasting->kind == DisplayName::Kind::Identity && lasting->text.find_first_of("\"\\") == std::string::npos)
        return lasting->text;
    return std::to_string(displayIndex);
}

} // namespace

StartupCommands::StartupCommands(StartupStore& store, StartupApplier& applier, Log log)
    : m_store(store), m_applier(applier), m_log(std::move(log))
{
}

// Every command finds a display's entry here, and only here: the entry whose command
// names the display now, one that names its monitor before one that names its number;
// else an unused name for a new one, the display's own when it is free.
std::string StartupCommands::EntryName(StartupScope scope, int displayIndex,
                                       const std::vector<DisplayListing>& displays) const
{
    const std::vector<std::string> names = m_store.EntryNames(scope);
    std::string byNumber;
    for (const std::string& name : names) {
        const DisplayName named = ReadDisplayName(StartupEntryDisplay(m_store.Read(scope, name)));
        if (!NamesDisplay(named, displayIndex, displays))
            continue;
        if (named.kind != DisplayName::Kind::Number)
            return name;
        if (byNumber.empty())
            byNumber = name;
    }
    if (!byNumber.empty())
        return byNumber;
    const auto unused = [&](const std::string& name) { return std::find(names.begin(), names.end(), name) == names.end(); };
    std::string name = StartupValueName(displayIndex);
    for (int n = 1; !unused(name); ++n)
        name = StartupValueName(n);
    return name;
}

std::string StartupCommands::ReadEntry(StartupScope scope, int displayIndex) const
{
    return m_store.Read(scope, EntryName(scope, displayIndex, m_applier.Displays()));
}

// A default entry applies the display's profile now but stores the keyword. A command
// that could not be stored unharmed is refused before anything is applied, and the
// entry is stored only once the source is on the display.
StartupSetResult StartupCommands::Set(StartupScope scope, StartupEntryKind kind, const StartupDisplay& display,
                                      const std::string& source, GammaRamp& ramp)
{
    const std::optional<std::string> program = m_store.ProgramPath();
    const std::string stored = kind == StartupEntryKind::Default ? std::string(kDefaultProfileKeyword) : source;
    const std::vector<DisplayListing> displays = m_applier.Displays();
    const std::string named = EntryDisplay(display.index, displays);
    const std::optional<std::string> command = program ? FormatStartupCommand(*program, stored, named) : std::nullopt;
    if (!command) {
        m_log(StartupSetError(scope, kStartupPathNotRepresentable));
        return StartupSetResult::Refused;
    }
    if (!m_applier.Load(ramp, source) || !m_applier.Write(display.index, ramp)) {
        m_log("ERROR: Startup LUT could not be loaded from file:");
        m_log("   " + source);
        return StartupSetResult::NotApplied;
    }

    // An entry that kept its display loaded goes on doing so with its new source.
    const std::string name = EntryName(scope, display.index, displays);
    const bool keep = StartupEntryKeeps(m_store.Read(scope, name));
    const long status = m_store.Write(scope, name, WithKeepSwitch(*command, keep));
    if (status != 0) {
        m_log(StartupSetError(scope, status));
        return StartupSetResult::NotStored;
    }
    m_log(StartupSetHeading(scope));
    m_log("   " + display.name);
    if (named != std::to_string(display.index))
        m_log("   monitor " + named);
    m_log("   " + source);
    return StartupSetResult::Stored;
}

void StartupCommands::Delete(StartupScope scope, const StartupDisplay& display)
{
    const long status = m_store.Delete(scope, EntryName(scope, display.index, m_applier.Displays()));
    if (status != 0) {
        m_log(StartupDeleteError(scope, status));
        return;
    }
    m_log(StartupDeletedHeading(scope));
    m_log("   " + display.name);
}

// Both scopes' entries follow the one check item, which is set when either entry
// keeps. An entry that does not exist is not made. Of two changed entries, the current
// user's tells what is kept: it is the one that is the user's own.
std::optional<KeepToggle> StartupCommands::ToggleKeep(const StartupDisplay& display)
{
    const StartupItemState item = KeepItemState(display.index);
    const std::vector<DisplayListing> displays = m_applier.Displays();
    std::optional<KeepToggle> toggled;
    for (const StartupScope scope : kBothScopes) {
        const std::string name = EntryName(scope, display.index, displays);
        const std::string entry = m_store.Read(scope, name);
        if (entry.empty() || StartupEntryKeeps(entry) != item.checked)
            continue;
        const long status = m_store.Write(scope, name, WithKeepSwitch(entry, !item.checked));
        if (status != 0) {
            m_log(StartupSetError(scope, status));
            continue;
        }
        m_log(StartupKeepHeading(scope, !item.checked));
        m_log("   " + display.name);
        toggled = KeepToggle{!item.checked, StartupEntrySource(entry), StartupEntryDisplay(entry)};
    }
    return toggled;
}

// The set items are checked by the kind of entry the scope holds; the all-users items
// are usable only when that scope can be written.
StartupItemState StartupCommands::ItemState(StartupItem item, StartupScope scope, int displayIndex) const
{
    StartupItemState state;
    if (item != StartupItem::Delete) {
        const StartupEntryKind kind = item == StartupItem::SetFile ? StartupEntryKind::File : StartupEntryKind::Default;
        state.checked = ClassifyStartupEntry(ReadEntry(scope, displayIndex)) == kind;
    }
    state.enabled = scope == StartupScope::CurrentUser || m_store.CanWrite(scope);
    return state;
}

StartupItemState StartupCommands::KeepItemState(int displayIndex) const
{
    StartupItemState state{false, false};
    for (const StartupScope scope : kBothScopes) {
        const std::string entry = ReadEntry(scope, displayIndex);
        state.checked = state.checked || StartupEntryKeeps(entry);
        state.enabled = state.enabled || !entry.empty();
    }
    return state;
}
