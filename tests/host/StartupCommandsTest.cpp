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

// The registry and the displays, noting the steps they are asked for. Under the
// condition "denied" the all-users scope answers status 5; a flat ramp is refused, as
// Wine refuses one; display 0 and 1 have entries of their own.
struct FakeSystem final : StartupStore, StartupApplier {
    std::string Read(StartupScope scope, const std::string& name) const override
    {
        const auto found = entries.find({scope, name});
        return found == entries.end() ? "" : found->second;
    }
    long Write(StartupScope scope, const std::string& name, const std::string& command) override
    {
        Note("store");
        return CanWrite(scope) ? (entries[{scope, name}] = command, 0) : 5;
    }
    long Delete(StartupScope scope, const std::string& name) override
    {
        return CanWrite(scope) ? (entries.erase({scope, name}), 0) : 5;
    }
    bool CanWrite(StartupScope scope) const override { return scope == kUser || condition != "denied"; }
    std::optional<std::string> ProgramPath() const override
    {
        return condition == "no program path" ? std::nullopt : std::optional<std::string>("C:\\Tools\\rampwise.exe");
    }
    bool Load(GammaRamp& ramp, const std::string& source) override
    {
        Note("load");
        ramp.entries.fill(source.find("flat") == std::string::npos ? 7 : 0);
        return source.find("bad") == std::string::npos;
    }
    bool Write(int, const GammaRamp& ramp) override
    {
        Note("show");
        return ramp.entries[0] != 0;
    }
    void Note(const char* step) { steps.append(steps.empty() ? "" : " ").append(step); }

    std::map<std::pair<StartupScope, std::string>, std::string> entries{
        {{kAll, "Rampwise"}, "display 0's "}, {{kUser, "Rampwise_1"}, "display 1's /keep"}};
    std::string condition, steps;
};

} // namespace

// Each step is followed by the menu's items in order, Keep loaded last: "1" checked,
// "0" not, "-" greyed.
TEST(StartupCommands, SetDeleteAndKeepLoadedFollowTheEntriesOfBothScopes)
{
    FakeSystem system;
    Lines log;
    StartupCommands commands(system, system, [&log](const std::string& line) { log.push_back(line); });
    const StartupDisplay display{12, "12. Adapter -> Monitor"};
    const auto entry = [](const std::string& source) { return R"("C:\Tools\rampwise.exe" /pt ")" + source + "\" 12"; };
    const std::string day = "C:\\cal\\day.lut", icm = "C:\\mon.icm", bad = "C:\\bad.lut", flat = "C:\\flat.lut";
    const std::string at = "C:\\my@defaults\\x.lut", atCase = "C:\\@Default.lut";  // "@default" anywhere, in this case
    const std::string file = entry(day), byDefault = entry("@default"), keep = " /keep", shown = "   " + display.name;
    const std::string all = "all users on:", user = "current user on:", deleted = "* Startup LUT deleted for ";
    const std::string keeps = "* Keep loaded set for ", releases = "* Keep loaded removed for ";
    const std::string error = "ERROR: Startup LUT could not be ", notLoaded = error + "loaded from file:";
    const std::string denied = error + "set for all users: 5", stored = "load show store: stored";
    const auto set = [&](const std::string& scope, const std::string& source) {
        return Lines{"* Startup LUT set for " + scope, shown, "   " + source};
    };
    // {command: set File, set Default, Delete or Keep; scope; source; condition; steps taken: the result of a set;
    //  entries after, for all users and the current user; log; menu}
    const struct { char command; StartupScope scope; std::string source; const char* condition; std::string steps;
                   std::string all, user; Lines log; const char* menu; } steps[] = {
        {'F', kUser, day, "", stored, "", file, set(user, day), "0001000"},
        {'F', kUser, "C:\\a\"b.lut", "", ": refused", "", file, {error + "set for current user: 87"}, "0001000"},
        {'D', kAll, icm, "no program path", ": refused", "", file, {error + "set for all users: 87"}, "0001000"},
        {'F', kUser, bad, "", "load: not applied", "", file, {notLoaded, "   " + bad}, "0001000"},
        {'F', kUser, flat, "", "load show: not applied", "", file, {notLoaded, "   " + flat}, "0001000"},
        {'D', kAll, icm, "", stored, byDefault, file, set(all, icm), "0101000"},
        {'K', kAll, "", "", "store store", byDefault + keep, file + keep, {keeps + all, shown, keeps + user, shown},
         "0101001"},
        {'F', kAll, day, "", stored, file + keep, file + keep, set(all, day), "1001001"},
        {'D', kUser, icm, "", stored, file + keep, byDefault + keep, set(user, icm), "1000101"},
        {'K', kAll, "", "", "store store", file, byDefault, {releases + all, shown, releases + user, shown}, "1000100"},
        {'F', kAll, day, "denied", "load show store: not stored", file, byDefault, {denied}, "---0100"},
        {'K', kAll, "", "denied", "store store", file, byDefault + keep, {denied, keeps + user, shown}, "---0101"},
        {'X', kAll, "", "denied", "", file, byDefault + keep, {error + "deleted for all users: 5"}, "---0101"},
        {'K', kAll, "", "", "store", file, byDefault, {releases + user, shown}, "1000100"},
        {'X', kAll, "", "", "", "", byDefault, {deleted + all, shown}, "0000100"},
        {'F', kUser, at, "", stored, "", entry(at), set(user, at), "0000100"},
        {'F', kUser, atCase, "", stored, "", entry(atCase), set(user, atCase), "0001000"},
        {'X', kUser, "", "", "", "", "", {deleted + user, shown}, "000000-"},
        {'X', kUser, "", "", "", "", "", {deleted + user, shown}, "000000-"},  // nothing to delete
        {'K', kAll, "", "", "", "", "", {}, "000000-"},
    };
    const char* results[] = {"refused", "not applied", "not stored", "stored"};
    const std::pair<StartupItem, StartupScope> items[] = {
        {StartupItem::SetFile, kAll}, {StartupItem::SetDefault, kAll}, {StartupItem::Delete, kAll},
        {StartupItem::SetFile, kUser}, {StartupItem::SetDefault, kUser}, {StartupItem::Delete, kUser}};
    const auto menu = [](StartupItemState item) { return item.enabled ? item.checked ? '1' : '0' : '-'; };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.command + (" " + step.source + " ") + step.condition);
        system.condition = step.condition, system.steps.clear(), log.clear();
        GammaRamp ramp{};
        if (step.command == 'X')
            commands.Delete(step.scope, display);
        else if (step.command == 'K')
            commands.ToggleKeep(display);
        else
            system.steps += std::string(": ") + results[static_cast<int>(commands.Set(step.scope, step.command == 'F'
                ? StartupEntryKind::File : StartupEntryKind::Default, display, step.source, ramp))];
        std::string checks;
        for (const auto& [item, scope] : items)
            checks += menu(commands.ItemState(item, scope, 12));
        EXPECT_EQ(system.steps, step.steps);
        EXPECT_EQ(system.Read(kAll, "Rampwise_12"), step.all);
        EXPECT_EQ(system.Read(kUser, "Rampwise_12"), step.user);
        EXPECT_EQ(log, step.log);
        EXPECT_EQ(checks + menu(commands.KeepItemState(12)), step.menu);
        EXPECT_EQ(system.Read(kAll, "Rampwise") + system.Read(kUser, "Rampwise_1"), "display 0's display 1's /keep");
    }
}
