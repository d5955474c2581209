// Display access through the gamma tables of X11 RandR CRTCs.

#include "lut/DisplayAccessX11.h"

#include "lut/DisplayAccess.h"
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Log.h"
#include "lut/ByteSource.h"
#include "lut/Edid.h"
#include "lut/GammaResample.h"
#include "lut/ProfileCache.h"
#include "lut/ProfileCurves.h"
#include "lut/X11Display.h"

namespace {

// Larger than any colour profile a display carries.
constexpr std::size_t kMaxProfileMiB = 64;
constexpr std::size_t kMaxProfileBytes = kMaxProfileMiB << 20;
// An EDID has at most 256 blocks of 128 bytes.
constexpr std::size_t kMaxEdidBytes = 256 * 128;

struct OpenCrtc {
    xcb_randr_crtc_t crtc;
    int tableSize;
};

// Says so when the server could not be reached or let its time pass: the line that
// follows names only the step that failed, not the cause.
void ReportServerTrouble(const X11Connection& connection)
{
    if (connection.TimedOut())
        LogError("rampwise: the X server (%s) did not answer within %d seconds", X11ServerName().c_str(),
                 X11Connection::kAnswerSeconds);
    else if (!connection.IsOpen())
        LogError("rampwise: cannot connect to the X server (%s)", X11ServerName().c_str());
}

// Enumerates afresh and returns the display's output; logs what failed. The
// connection and the enumeration stand for the platform's display enumeration.
std::optional<X11Output> FindDisplayOutput(X11Connection& connection, int displayIndex)
{
    if (!connection.IsOpen()) {
        ReportServerTrouble(connection);
        LogError("ERROR: EnumDisplayDevices falied %i", 0);
        return std::nullopt;
    }
    std::optional<X11Output> output = FindX11Output(connection, displayIndex);
    if (!output) {
        ReportServerTrouble(connection);
        LogError("ERROR: EnumDisplayDevices falied %i", connection.TakeError());
    }
    return output;
}

// Finds the display's CRTC and the size of its gamma table; logs what failed. A CRTC
// without a gamma table stands for a device that cannot be opened.
std::optional<OpenCrtc> OpenDisplayCrtc(X11Connection& connection, int displayIndex)
{
    const std::optional<X11Output> output = FindDisplayOutput(connection, displayIndex);
    if (!output)
        return std::nullopt;
    const auto size = connection.Wait(xcb_randr_get_crtc_gamma_size_reply,
                                      xcb_randr_get_crtc_gamma_size(connection.Get(), output->crtc));
    const int tableSize = size ? size->size : 0;
    const int errorCode = connection.TakeError();
    if (tableSize <= 0 || errorCode != 0) {
        ReportServerTrouble(connection);
        LogError("ERROR: CreateDC falied %i", errorCode);
        return std::nullopt;
    }
    return OpenCrtc{output->crtc, tableSize};
}

std::span<const std::uint16_t> Table(const std::uint16_t* entries, int size)
{
    return {entries, static_cast<std::size_t>(size)};
}

// Waits for the table that the cookie asked for and hands it to `use`; logs what failed.
template <typename Use>
bool ReceiveDisplayTable(X11Connection& connection, const OpenCrtc& crtc, xcb_randr_get_crtc_gamma_cookie_t cookie,
                         Use use)
{
    const auto gamma = connection.Wait(xcb_randr_get_crtc_gamma_reply, cookie);
    const int errorCode = connection.TakeError();
    // The reply's length (in 4-byte units after its fixed part) must hold the tables.
    if (!gamma || gamma->size != crtc.tableSize || errorCode != 0 ||
        std::size_t{gamma->length} * 4 < 6 * std::size_t{gamma->size}) {
        ReportServerTrouble(connection);
        LogError("ERROR: GetDeviceGammaRamp falied %i", errorCode);
        return false;
    }
    use(DisplayTable{Table(xcb_randr_get_crtc_gamma_red(gamma.get()), gamma->size),
                     Table(xcb_randr_get_crtc_gamma_green(gamma.get()), gamma->size),
                     Table(xcb_randr_get_crtc_gamma_blue(gamma.get()), gamma->size)});
    return true;
}

template <typename Use>
bool WithDisplayTable(int displayIndex, Use use)
{
    X11Connection connection;
    const std::optional<OpenCrtc> crtc = OpenDisplayCrtc(connection, displayIndex);
    return crtc && ReceiveDisplayTable(connection, *crtc, xcb_randr_get_crtc_gamma(connection.Get(), crtc->crtc), use);
}

// Sends the ramp, resampled to the table's size, as a checked request.
xcb_void_cookie_t SendDisplayTable(X11Connection& connection, const OpenCrtc& crtc, const GammaRamp& ramp)
{
    const auto size = static_cast<std::size_t>(crtc.tableSize);
    std::vector<std::uint16_t> tables(GammaRamp::kChannelCount * size);
    for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel)
        ResampleGammaTable(ramp.Channel(channel), std::span(tables).subspan(channel * size, size));
    return xcb_randr_set_crtc_gamma_checked(connection.Get(), crtc.crtc, static_cast<std::uint16_t>(size), &tables[0],
                                            &tables[size], &tables[2 * size]);
}

// Waits until the server has handled the write; logs what failed.
bool ConfirmWrite(X11Connection& connection, xcb_void_cookie_t cookie)
{
    connection.Check(cookie);
    const int errorCode = connection.TakeError();
    // A connection that broke off (the server's time ran out, say) confirms nothing.
    if (errorCode != 0 || xcb_connection_has_error(connection.Get()) != 0) {
        ReportServerTrouble(connection);
        LogError("ERROR: SetDeviceGammaRamp falied %i", errorCode);
        return false;
    }
    return true;
}

} // namespace

bool ReadDisplayRamp(int displayIndex, GammaRamp& ramp)
{
    return WithDisplayTable(displayIndex, [&](const DisplayTable& table) {
        for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel)
            ResampleGammaTable(table[channel], ramp.Channel(channel));
    });
}

std::optional<RampDifference> CompareDisplayRamp(X11Connection& connection, int displayIndex, const GammaRamp& ramp)
{
    const std::optional<X11DisplayCrtc> crtc = FindDisplayCrtc(connection, displayIndex);
    return crtc ? CompareCrtcRamp(connection, *crtc, ramp) : std::nullopt;
}

std::optional<X11DisplayCrtc> FindDisplayCrtc(X11Connection& connection, int displayIndex)
{
    const std::optional<OpenCrtc> crtc = OpenDisplayCrtc(connection, displayIndex);
    return crtc ? std::optional(X11DisplayCrtc{crtc->crtc, crtc->tableSize}) : std::nullopt;
}

std::optional<RampDifference> CompareCrtcRamp(X11Connection& connection, const X11DisplayCrtc& found,
                                              const GammaRamp& ramp)
{
    std::optional<RampDifference> difference;
    const OpenCrtc crtc{found.crtc, found.tableSize};
    ReceiveDisplayTable(connection, crtc, xcb_randr_get_crtc_gamma(connection.Get(), crtc.crtc),
                        [&](const DisplayTable& table) { difference = CompareWithRamp(table, ramp); });
    return difference;
}

std::optional<RampDifference> CompareDisplayRamp(int displayIndex, const GammaRamp& ramp)
{
    X11Connection connection;
    return CompareDisplayRamp(connection, displayIndex, ramp);
}

bool WriteDisplayRamp(X11Connection& connection, int displayIndex, const GammaRamp& ramp)
{
    const std::optional<OpenCrtc> crtc = OpenDisplayCrtc(connection, displayIndex);
    return crtc && ConfirmWrite(connection, SendDisplayTable(connection, *crtc, ramp));
}

bool WriteDisplayRamp(int displayIndex, const GammaRamp& ramp)
{
    X11Connection connection;
    return WriteDisplayRamp(connection, displayIndex, ramp);
}

// The read is sent right behind the write, so both take one round trip.
std::optional<RampDifference> WriteDisplayRampAndCompare(int displayIndex, const GammaRamp& ramp)
{
    X11Connection connection;
    const std::optional<OpenCrtc> crtc = OpenDisplayCrtc(connection, displayIndex);
    if (!crtc)
        return std::nullopt;
    const xcb_void_cookie_t write = SendDisplayTable(connection, *crtc, ramp);
    const xcb_randr_get_crtc_gamma_cookie_t read = xcb_randr_get_crtc_gamma(connection.Get(), crtc->crtc);
    std::optional<RampDifference> difference;
    if (!ConfirmWrite(connection, write)) {
        xcb_discard_reply(connection.Get(), read.sequence);
        return std::nullopt;
    }
    ReceiveDisplayTable(connection, *crtc, read, [&](const DisplayTable& table) { difference = CompareWithRamp(table, ramp); });
    return difference;
}

// The profile is parsed from the bytes the server sent: nothing on disk stands
// between the server and the ramp. The copy in the cache is for the user only.
bool LoadDisplayProfile(int displayIndex, GammaRamp& ramp, std::string* profileName)
{
    X11Connection connection;
    const std::optional<X11Output> output = FindDisplayOutput(connection, displayIndex);
    if (!output)
        return false;
    // The output's own profile first, then the screen-wide one that colour-managed
    // desktops set on the root window: _ICC_PROFILE for the first display,
    // _ICC_PROFILE_n for display n.
    using Status = X11PropertyBytes::Status;
    std::string source = "_ICC_PROFILE of " + output->name;
    X11PropertyBytes profile = ReadOutputProperty8(connection, output->output, "_ICC_PROFILE", kMaxProfileBytes);
    if (profile.status == Status::Absent) {
        const std::string name =
            displayIndex == 0 ? std::string("_ICC_PROFILE") : "_ICC_PROFILE_" + std::to_string(displayIndex);
        source = name + " of the root window";
        profile = ReadWindowProperty8(connection, output->root, name.c_str(), kMaxProfileBytes);
    }
    if (profileName)
        *profileName = source;
    if (connection.TimedOut()) {
        ReportServerTrouble(connection);
        return false;
    }
    if (profile.status == Status::TooLarge) {
        LogError("rampwise: the colour profile of display %d is larger than %zu MiB and was not read", displayIndex,
                 kMaxProfileMiB);
        return false;
    }
    ProfileCurveSet curves;
    if (profile.status == Status::Read) {
        StoreDisplayProfile(displayIndex, profile.bytes);
        MemoryByteSource bytes(profile.bytes.data(), profile.bytes.size());
        if (ParseProfileCurves(bytes, source.c_str(), GammaRamp::kChannelSize, curves)) {
            const CurveArray* channels[] = {&curves.red, &curves.green, &curves.blue};
            for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel)
                std::memcpy(ramp.Channel(channel).data(), channels[channel]->get(), ramp.Channel(channel).size_bytes());
            return true;
        }
    }
    LogError("rampwise: display %d has no colour profile with calibration curves", displayIndex);
    return false;
}

// The X server has no adapter or monitor names: the output stands for both. Every
// output's EDID and table size are asked for at once: one wait instead of one each.
std::vector<DisplayListing> ListDisplays(X11Connection& connection)
{
    if (!connection.IsOpen())
        return {};
    std::vector<X11Output> outputs;
    VisitX11Outputs(connection, [&](X11Output&& output) {
        outputs.push_back(std::move(output));
        return false;
    });
    const xcb_atom_t edidAtom = ExistingX11Atom(connection, "EDID");
    std::vector<X11OutputPropertyQuestion> edids;
    std::vector<xcb_randr_get_crtc_gamma_size_cookie_t> sizes;
    for (const X11Output& output : outputs) {
        edids.emplace_back(connection, output.output, edidAtom, kMaxEdidBytes);
        sizes.push_back(xcb_randr_get_crtc_gamma_size(connection.Get(), output.crtc));
    }
    std::vector<DisplayListing> displays;
    for (std::size_t i = 0; i < outputs.size(); ++i) {
        DisplayListing& display = displays.emplace_back();
        display.index = static_cast<int>(i);
        display.adapter = display.monitor = display.connector = outputs[i].name;
        if (const X11PropertyBytes edid = edids[i].Receive(connection); edid.status == X11PropertyBytes::Status::Read)
            display.edid = ParseEdid(edid.bytes);
        const auto size = connection.Wait(xcb_randr_get_crtc_gamma_size_reply, sizes[i]);
        display.tableSize = size ? size->size : 0;
    }
    connection.TakeError();
    return displays;
}

std::vector<DisplayListing> ListDisplays()
{
    X11Connection connection;
    return ListDisplays(connection);
}
