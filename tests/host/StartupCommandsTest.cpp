#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ui/StartupCommands.h"

namespace {

using Lines = std::vector<std::string>;
constexpr StartupScope kAll = StartupScope::AllUsers, kUser = StartupScope::CurrentUser;
const std::optional<std::string> kProgram = "C:\\Tools\\rampwise.exe";

// The Run keys, where "" is no entry, and display 12. Under the condition "denied" the
// all-users scope answers status 5; C:\bad does not load, and the display
// refuses every ramp when "dark".
struct FakeSystem final : StartupStore, StartupApplier {
    std::string Read(StartupScope scope, const std::string& name) const override { return entries[{scope, name}]; }
    std::vector<std::string> EntryNames(StartupScope scope) const override
    {
        std::vector<std::string> names;
        for (const auto& [key, command] : entries)
            if (key.first == scope && !command.empty())
                names.push_back(key.second);
        return names;
    }
    std::vector<DisplayListing> Displays() override { return displays; }
    long Write(StartupScope scope, const std::string& name, const std::string& command) override
    {
        return CanWrite(scope) ? (entries[{scope, name}] = command, 0) : 5;
    }
    long Delete(StartupScope scope, const std::string& name) override { return Write(scope, name, ""); }
    bool CanWrite(StartupScope scope) const override { return scope == kUser || condition != "denied"; }
    std::optional<std::string> ProgramPath() const override { return condition == "no path" ? std::nullopt : kProgram; }
    bool Load(GammaRamp&, const std::string& source) override { return (loaded = source) != "C:\\bad"; }
    bool Write(int index, const GammaRamp&) override { return index == 12 && condition != "dark"; }

    mutable std::map<std::pair<StartupScope, std::string>, std::string> entries;
    std::string condition, loaded;
    std::vector<DisplayListing> displays{{12, "Adapter", "Monitor", "\\\\.\\DISPLAY13", {}, 256}};
};

} // namespace

// Each step is followed by the menu's items in order, Keep loaded last: "1" checked,
// "0" not, "-" greyed. A set that cannot store its command unharmed loads nothing; an
// entry that kept its display loaded keeps it when set again; Keep loaded makes no entry
// and, where one scope refuses, still changes the other; it tells what a keeper keeps
// now, by the current user's entry before the machine's.
TEST(StartupCommands, SetDeleteAndKeepLoadedFollowTheEntriesOfBothScopes)
{
    FakeSystem system;
    Lines log;
    StartupCommands commands(system, system, [&log](const std::string& line) { log.push_back(line); });
    const StartupDisplay display{12, "12. Adapter -> Monitor"};
    const auto entry = [](const std::string& source) { return "\"" + *kProgram + "\" /pt \"" + source + "\" 12"; };
    const std::string day = "C:\\cal\\day.lut", icm = "C:\\mon.icm", shown = "   " + display.name, keep = " /keep";
    const std::string file = entry(day), keyword = entry("@default"), error = "ERROR: Startup LUT could not be ";
    const std::string all = "all users on:", user = "current user on:", denied = error + "set for all users: 5";
    const std::string keeps = "* Keep loaded set for ", releases = "* Keep loaded removed for ";
    const auto set = [&](auto scope, auto path) { return Lines{"* Startup LUT set for " + scope, shown, "   " + path}; };
    // {command: set File, set Default, Delete or Keep (of both scopes); scope; source; condition; whether a set
    //  loaded its source and what it came to; entries after, for all users and the current user; log; menu}
    const struct { char command; StartupScope scope; std::string source; const char* condition, *result;
                   std::pair<std::string, std::string> entries; Lines log; const char* menu; } steps[] = {
        {'F', kUser, day, "", "load: stored", {"", file}, set(user, day), "0001000"},
        {'F', kUser, "C:\\\".lut", "", "refused", {"", file}, {error + "set for current user: 87"}, "0001000"},
        {'D', kAll, icm, "no path", "refused", {"", file}, {error + "set for all users: 87"}, "0001000"},
        {'F', kUser, "C:\\bad", "", "load: not applied", {"", file}, {error + "loaded from file:", "   C:\\bad"}, "0001000"},
        {'F', kUser, icm, "dark", "load: not applied", {"", file}, {error + "loaded from file:", "   " + icm}, "0001000"},
        {'D', kAll, icm, "", "load: stored", {keyword, file}, set(all, icm), "0101000"},
        {'K', kAll, "", "", "keep C:\\cal\\day.lut on 12", {keyword + keep, file + keep}, {keeps + all, shown, keeps + user, shown}, "0101001"},
        {'F', kAll, day, "", "load: stored", {file + keep, file + keep}, set(all, day), "1001001"},
        {'K', kAll, "", "denied", "end", {file + keep, file}, {denied, releases + user, shown}, "---1001"},
        {'D', kAll, icm, "denied", "load: not stored", {file + keep, file}, {denied}, "---1001"},
        {'X', kAll, "", "denied", "", {file + keep, file}, {error + "deleted for all users: 5"}, "---1001"},
        {'K', kAll, "", "", "end", {file, file}, {releases + all, shown}, "1001000"},
        {'X', kAll, "", "", "", {"", file}, {"* Startup LUT deleted for " + all, shown}, "0001000"},
        {'X', kUser, "", "", "", {"", ""}, {"* Startup LUT deleted for " + user, shown}, "000000-"},
        {'K', kAll, "", "", "", {"", ""}, {}, "000000-"},
    };
    const std::string results[] = {"refused", "not applied", "not stored", "stored"};
    const auto mark = [](StartupItemState item) { return item.enabled ? item.checked ? '1' : '0' : '-'; };
    GammaRamp ramp;
    for (const auto& step : steps) {
        system.condition = step.condition, system.loaded.clear(), log.clear();
        std::string result, menu;
        if (step.command == 'X')
            commands.Delete(step.scope, display);
        else if (step.command == 'K') {
            if (const std::optional<KeepToggle> toggled = commands.ToggleKeep(display))
                result = toggled->keeps ? "keep " + toggled->source + " on " + toggled->display : "end";
        } else
            result = results[static_cast<int>(commands.Set(step.scope, step.command == 'F' ? StartupEntryKind::File
                : StartupEntryKind::Default, display, step.source, ramp))];
        for (const StartupScope scope : {kAll, kUser})
            for (const StartupItem item : {StartupItem::SetFile, StartupItem::SetDefault, StartupItem::Delete})
                menu += mark(commands.ItemState(item, scope, 12));
        EXPECT_EQ((system.loaded.empty() ? "" : "load: ") + result, step.result);
        EXPECT_EQ(std::pair(system.Read(kAll, "Rampwise_12"), system.Read(kUser, "Rampwise_12")), step.entries);
        EXPECT_EQ(log, step.log);
        EXPECT_EQ(menu + mark(commands.KeepItemState(12)), step.menu);
    }
    // "@default" anywhere in an entry makes it one of the default kind, in this letter case only.
    EXPECT_EQ(ClassifyStartupEntry(entry("C:\\my@defaults\\x.lut")), StartupEntryKind::Default);
    EXPECT_EQ(ClassifyStartupEntry(entry("C:\\@Default.lut")), StartupEntryKind::File);
}
