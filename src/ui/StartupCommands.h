#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "lut/DisplayNaming.h"
#include "lut/GammaRamp.h"
#include "ui/StartupEntry.h"

// The Startup menu's commands over the place where the entries are kept and the
// display they act on. Statuses are the platform's error codes, 0 when done.

// The status a set command reports when the program path or the source cannot be
// stored unharmed (the platform's "invalid parameter").
inline constexpr long kStartupPathNotRepresentable = 87;

// Where the autostart entries are kept.
class StartupStore {
public:
    virtual ~StartupStore() = default;
    // The entry's command as stored, or "" when there is none.
    virtual std::string Read(StartupScope scope, const std::string& valueName) const = 0;
    // The names of the scope's entries of this program (see IsStartupValueName).
    virtual std::vector<std::string> EntryNames(StartupScope scope) const = 0;
    // Replaces any entry of that name in one step.
    virtual long Write(StartupScope scope, const std::string& valueName, const std::string& command) = 0;
    // An entry that does not exist counts as deleted.
    virtual long Delete(StartupScope scope, const std::string& valueName) = 0;
    virtual bool CanWrite(StartupScope scope) const = 0;
    // This program's file as an entry's command names it; nothing when it cannot.
    virtual std::optional<std::string> ProgramPath() const = 0;
};

// The displays, and how a set command applies its source to one at once.
class StartupApplier {
public:
    virtual ~StartupApplier() = default;
    // The displays that show a picture now, with their monitors' identities.
    virtual std::vector<DisplayListing> Displays() = 0;
    // On false the ramp is unchanged.
    virtual bool Load(GammaRamp& ramp, const std::string& source) = 0;
    virtual bool Write(int displayIndex, const GammaRamp& ramp) = 0;
};

// The display a command acts on, and its name in the log.
struct StartupDisplay {
    int index = 0;
    std::string name;
};

// How far a set command came.
enum class StartupSetResult { Refused, NotApplied, NotStored, Stored };

// What Keep loaded did: the display's entries keep it loaded now, or not, and what
// the keeping entry names as its SOURCE and DISPLAY.
struct KeepToggle {
    bool keeps = false;
    std::string source;
    std::string display;
};

enum class StartupItem { SetFile, SetDefault, Delete };
struct StartupItemState {
    bool checked = false;
    bool enabled = true;
};

class StartupCommands {
public:
    using Log = std::function<void(const std::string& line)>;

    StartupCommands(StartupStore& store, StartupApplier& applier, Log log);

    // Applies the source to the display, through ramp, and stores an entry of that kind
    // (File or Default) for every log-on.
    StartupSetResult Set(StartupScope scope, StartupEntryKind kind, const StartupDisplay& display,
                         const std::string& source, GammaRamp& ramp);
    void Delete(StartupScope scope, const StartupDisplay& display);
    // Adds "/keep" to the display's entries, or removes it when one has it; nothing
    // when no entry changed.
    std::optional<KeepToggle> ToggleKeep(const StartupDisplay& display);

    StartupItemState ItemState(StartupItem item, StartupScope scope, int displayIndex) const;
    StartupItemState KeepItemState(int displayIndex) const;

private:
    std::string EntryName(StartupScope scope, int displayIndex,
                          const std::vector<DisplayListing>& displays) const;
    std::string ReadEntry(StartupScope scope, int displayIndex) const;

    StartupStore& m_store;
    StartupApplier& m_applier;
    Log m_log;
};
