#include "app/KeepRules.h"

#include <algorithm>

#include "base/AsciiText.h"

namespace {

// Built in: the programs that measure a display or make its calibration. The keeper
// would otherwise spoil what they measure.
constexpr const char* kMeasuringPrograms[] = {"dispcal", "dispread", "dispwin", "spotread",
                                              "ccxxmake", "displaycal", "dccw"};
constexpr std::size_t kLinuxNameLength = 15;

std::string_view Trimmed(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t\r");
    return first == std::string_view::npos ? std::string_view{}
                                           : text.substr(first, text.find_last_not_of(" \t\r") + 1 - first);
}

// The line without its comment: '#' at the line's start or after a space or tab.
std::string_view WithoutComment(std::string_view line)
{
    for (std::size_t at = line.find('#'); at != std::string_view::npos; at = line.find('#', at + 1)) {
        if (at == 0 || line[at - 1] == ' ' || line[at - 1] == '\t')
            return line.substr(0, at);
    }
    return line;
}

// One word, quoted or not; false for a quote that does not close.
bool TakeWord(std::string_view& text, std::string_view& word)
{
    if (text.starts_with('"')) {
        const std::size_t close = text.find('"', 1);
        if (close == std::string_view::npos)
            return false;
        word = text.substr(1, close - 1);
        text = Trimmed(text.substr(close + 1));
        return true;
    }
    const std::size_t end = std::min(text.find_first_of(" \t"), text.size());
    word = text.substr(0, end);
    text = Trimmed(text.substr(end));
    return true;
}

std::string Quoted(std::string_view text)
{
    std::string quoted(1, '"');
    quoted.append(text);
    quoted.push_back('"');
    return quoted;
}

// Why the line is no rule, or empty when it is one (then in rule).
std::string ReadRule(std::string_view line, ProgramNames names, KeepRule& rule)
{
    std::string_view program;
    if (!TakeWord(line, program))
        return "a quote that does not close";
    std::string_view action = line;
    if (action.starts_with('"') && !(action.size() >= 2 && action.ends_with('"')))
        return "a quote that does not close";
    if (action.starts_with('"'))
        action = action.substr(1, action.size() - 2);
    if (program.empty())
        return "no program";
    if (program.find_first_of("/\\") != std::string_view::npos)
        return Quoted(program).append(" has a folder: name the program alone");
    if (action.empty())
        return Quoted(program).append(" has no action");
    rule.program = ProgramKey(program, names);
    rule.source.clear();
    if (EqualsIgnoringAsciiCase(action, "pause"))
        rule.action = KeepRule::Action::Pause;
    else if (EqualsIgnoringAsciiCase(action, "linear"))
        rule.action = KeepRule::Action::Linear;
    else if (EqualsIgnoringAsciiCase(action, "keep"))
        rule.action = KeepRule::Action::Keep;
    else
        rule.action = KeepRule::Action::Source, rule.source = action;
    return {};
}

} // namespace

std::string ProgramKey(std::string_view name, ProgramNames names)
{
    std::string key(name);
    if (names == ProgramNames::Linux)
        return key.substr(0, kLinuxNameLength);
    for (char& c : key)
        c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    if (key.size() > 4 && key.ends_with(".exe"))
        key.resize(key.size() - 4);
    return key;
}

KeepRules ReadKeepRules(std::string_view text, ProgramNames names)
{
    if (text.starts_with("\xEF\xBB\xBF"))  // a byte-order mark, as some editors write
        text.remove_prefix(3);
    KeepRules read;
    for (int number = 1; !text.empty(); ++number) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = Trimmed(WithoutComment(text.substr(0, end)));
        text.remove_prefix(std::min(end + 1, text.size()));
        KeepRule rule;
        if (line.empty())
            continue;
        if (std::string why = ReadRule(line, names, rule); !why.empty())
            read.badLines.push_back("line " + std::to_string(number) + ": " + why);
        else
            read.rules.push_back(std::move(rule));
    }
    read.setsRamps = std::any_of(read.rules.begin(), read.rules.end(), [](const KeepRule& rule) {
        return rule.action == KeepRule::Action::Linear || rule.action == KeepRule::Action::Source;
    });
    for (const char* program : kMeasuringPrograms)
        read.rules.push_back({ProgramKey(program, names), KeepRule::Action::Pause, {}});
    return read;
}

StandDown ChooseStandDown(const KeepRules& rules, const std::vector<std::string>& runningPrograms,
                          ProgramNames names)
{
    std::vector<std::string> running;
    for (const std::string& name : runningPrograms)
        running.push_back(ProgramKey(name, names));
    const KeepRule* chosen = nullptr;
    for (std::size_t i = 0; i < rules.rules.size(); ++i) {
        const KeepRule& rule = rules.rules[i];
        // The first rule for a program is the one that counts for it.
        const bool firstForProgram = std::none_of(rules.rules.begin(), rules.rules.begin() + i,
                                                  [&](const KeepRule& r) { return r.program == rule.program; });
        if (!firstForProgram || rule.action == KeepRule::Action::Keep ||
            std::find(running.begin(), running.end(), rule.program) == running.end())
            continue;
        if (!chosen || rule.action < chosen->action)
            chosen = &rule;
    }
    if (!chosen)
        return {};
    constexpr StandDown::Kind kKinds[] = {StandDown::Kind::Pause, StandDown::Kind::Linear, StandDown::Kind::Source};
    return {kKinds[static_cast<int>(chosen->action)], chosen->program, chosen->source};
}

std::string DescribeStandDown(const StandDown& standDown)
{
    const std::string runs = " while " + standDown.program + " runs";
    switch (standDown.kind) {
    case StandDown::Kind::None:
        break;
    case StandDown::Kind::Pause:
        return "stands down" + runs;
    case StandDown::Kind::Linear:
        return "linear" + runs;
    case StandDown::Kind::Source:
        return "keeps " + standDown.source + runs;
    case StandDown::Kind::Hdr:
        return "stands down in HDR mode";
    case StandDown::Kind::Paused:
        return "paused from its icon";
    }
    return "keeps its calibration";
}
