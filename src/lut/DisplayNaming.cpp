#include "lut/DisplayNaming.h"

#include <algorithm>

#include "base/AsciiText.h"
#include "base/DisplayIndex.h"

namespace {

bool IsAsciiLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

bool IsHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// Three letters and four hex digits, then nothing or a colon and a serial.
bool IsIdentityShaped(std::string_view text)
{
    return text.size() >= 7 && std::all_of(text.begin(), text.begin() + 3, IsAsciiLetter) &&
           std::all_of(text.begin() + 3, text.begin() + 7, IsHexDigit) &&
           (text.size() == 7 || (text[7] == ':' && text.size() > 8));
}

// Whether the identity text (with or without a serial) names the monitor.
bool IdentityNames(std::string_view text, const DisplayListing& display)
{
    if (!display.edid)
        return false;
    const MonitorIdentity& identity = display.edid->identity;
    const std::size_t colon = text.find(':');
    return EqualsIgnoringAsciiCase(text.substr(0, colon), identity.model) &&
           (colon == std::string_view::npos || EqualsIgnoringAsciiCase(text.substr(colon + 1), identity.serial));
}

bool Names(const DisplayName& name, const DisplayListing& display)
{
    switch (name.kind) {
    case DisplayName::Kind::Number:
        return display.index == name.number;
    case DisplayName::Kind::Identity:
        return IdentityNames(name.text, display);
    case DisplayName::Kind::Connector:
        return EqualsIgnoringAsciiCase(name.text, display.connector);
    }
    return false;
}

std::string NoDisplayLine(int number, const std::vector<DisplayListing>& displays)
{
    const std::string range = displays.empty() ? std::string("no display shows a picture")
                                               : "displays 0 to " + std::to_string(displays.size() - 1);
    return "rampwise: no display " + std::to_string(number) + " (" + range + ")";
}

} // namespace

DisplayName ReadDisplayName(std::string_view argument)
{
    const std::size_t start = std::min(argument.find_first_not_of(" \t\n\v\f\r"), argument.size());
    const std::string_view rest = argument.substr(start);
    const std::size_t digit = !rest.empty() && (rest[0] == '+' || rest[0] == '-') ? 1 : 0;
    if (rest.empty() || (rest.size() > digit && rest[digit] >= '0' && rest[digit] <= '9'))
        return {DisplayName::Kind::Number, ParseDisplayIndex(argument), {}};
    const auto kind = IsIdentityShaped(argument) ? DisplayName::Kind::Identity : DisplayName::Kind::Connector;
    return {kind, 0, std::string(argument)};
}

DisplayChoice ChooseDisplay(const DisplayName& name, const std::vector<DisplayListing>& displays)
{
    std::vector<const DisplayListing*> named;
    for (const DisplayListing& display : displays)
        if (Names(name, display))
            named.push_back(&display);
    if (named.size() == 1)
        return {named.front()->index, {}};
    if (named.empty())
        return {std::nullopt, name.kind == DisplayName::Kind::Number
                                  ? NoDisplayLine(name.number, displays)
                                  : "rampwise: no monitor " + name.text + " is connected"};
    std::string connectors;
    for (const DisplayListing* display : named)
        connectors += (connectors.empty() ? "" : ", ") + display->connector;
    return {std::nullopt, "rampwise: " + name.text + " names more than one monitor (" + connectors +
                              "): name one by its connector"};
}

DisplayName LastingName(const DisplayListing& display, const std::vector<DisplayListing>& displays)
{
    if (display.edid) {
        const DisplayName identity{DisplayName::Kind::Identity, 0, display.edid->identity.Text()};
        if (std::count_if(displays.begin(), displays.end(), [&](const DisplayListing& d) { return Names(identity, d); }) == 1)
            return identity;
    }
    return {DisplayName::Kind::Connector, 0, display.connector};
}

std::string EscapedForName(std::string_view text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string escaped;
    for (const char c : text) {
        if (IsAsciiLetter(c) || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-') {
            escaped += c;
        } else {
            const auto byte = static_cast<unsigned char>(c);
            escaped += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        }
    }
    return escaped;
}

std::optional<DisplayName> LastingNameAt(std::optional<int> index, const std::vector<DisplayListing>& displays)
{
    for (const DisplayListing& display : displays)
        if (display.index == index)
            return LastingName(display, displays);
    return std::nullopt;
}

std::string FormatDisplayLine(const DisplayListing& display)
{
    std::string name = display.edid && !display.edid->name.empty() ? display.edid->name : display.monitor;
    std::replace(name.begin(), name.end(), '"', '\'');
    return std::to_string(display.index) + " " + (display.edid ? display.edid->identity.Text() : "-") + " " +
           display.connector + " \"" + name + "\" " + std::to_string(display.tableSize);
}
