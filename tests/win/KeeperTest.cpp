#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "DisplayTestSupport.h"
#include "app/KeeperLinkWin32.h"
#include "TempDir.h"

namespace {

std::string KeepLog()
{
    std::stringstream text;
    text << std::ifstream(std::string(std::getenv("LOCALAPPDATA")) + "\\Rampwise\\keep.log", std::ios::binary).rdbuf();
    return text.str();
}

// Another program sets the X server's gamma to the identity, as a game would. Wine
// cannot wait for a program of the host: the reset shows on the display, or in the
// log when a keeper was quicker.
void ResetFromOutside()
{
    std::string tool = "Z:" RAMPWISE_GAMMA_RESET;
    std::replace(tool.begin(), tool.end(), '/', '\\');
    const std::size_t logged = KeepLog().size();
    const ChildProcess reset(tool);
    EXPECT_TRUE(Eventually([&] { return KeepLog().size() != logged || CurrentRamp() == CurveRamp(1, 1, 1); }));
}

// Runs the stand-in program under the name for ms milliseconds.
std::unique_ptr<ChildProcess> RunAs(const TempDir& folder, const std::string& name, int ms)
{
    char self[MAX_PATH] = "";
    std::string standIn(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    standIn.replace(standIn.find_last_of('\\') + 1, std::string::npos, "stand_in.exe");
    const std::string program = folder.PathOf(name);
    EXPECT_TRUE(CopyFileA(standIn.c_str(), program.c_str(), FALSE)) << standIn;
    return std::make_unique<ChildProcess>("\"" + program + "\" " + std::to_string(ms));
}

// A command of the keeper's icon menu, sent to the keeper's window.
void Command(UINT command)
{
    const HWND keeper = FindWindowA(kKeeperWindowClass, nullptr);
    ASSERT_NE(keeper, nullptr);
    SendMessageA(keeper, WM_COMMAND, command, 0);
}

class Keeper : public DisplayRampTest {
protected:
    ~Keeper() override { ChildProcess("rampwise /release").ExitCode(15000); }
};

} // namespace

// Each step ends when display 0 shows the ramp (within 5 s): then the keepers that run
// are known, and the re-apply, if any, is in the log with its cause.
TEST_F(Keeper, KeepsTheRampThroughResetsAndModeChangesUntilTakenOverOrReleased)
{
    TempDir folder;
    const GammaRamp a = CurveRamp(1.6, 1.4, 1.2), b = CurveRamp(0.8, 0.9, 1.0), linear = CurveRamp(1, 1, 1);
    const std::string aLut = folder.Write("a.lut", LutFileBytes(a)), bLut = folder.Write("b.lut", LutFileBytes(b));
    std::unique_ptr<ChildProcess> first, second, earlier[2];
    DEVMODEA smaller{};
    smaller.dmSize = sizeof(smaller), smaller.dmPelsWidth = 1024, smaller.dmPelsHeight = 768, smaller.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    const auto keep = [](const std::string& lut) { return std::make_unique<ChildProcess>("rampwise /pt \"" + lut + "\" 0 /keep"); };
    ASSERT_TRUE(WriteDisplayRamp(0, linear));  // so that each keeper's own write shows
    const struct { const char* step; std::function<void()> act; GammaRamp shown; const char* cause; bool firstRuns, secondRuns; } steps[] = {
        {"keep a", [&] { first = keep(aLut); }, a, nullptr, true, false},
        {"reset", ResetFromOutside, a, "after periodic check", true, false},
        {"mode change", [&] { ResetFromOutside(); ChangeDisplaySettingsExA(nullptr, &smaller, nullptr, CDS_FULLSCREEN, nullptr); }, a, "after display change", true, false},
        // After an event the ramp goes back even where the display holds it.
        {"mode back", [] { ChangeDisplaySettingsExA(nullptr, nullptr, nullptr, 0, nullptr); }, a, "after display change", true, false},
        // The reset stays while a measuring program runs, and goes once it has ended.
        {"dispcal.exe runs", [&] {
             const std::unique_ptr<ChildProcess> dispcal = RunAs(folder, "dispcal.exe", 4000);
             Sleep(1500);
             ResetFromOutside();
             Sleep(1500);
             EXPECT_EQ(CurrentRamp(), linear);
             EXPECT_EQ(dispcal->ExitCode(5000), 0u);
         }, a, "after stand-down", true, false},
        {"/pt b is kept", [&] {
             // For a while after a mode change Wine rewrites the monitors' keys: a listing
             // may then miss the identity that the keeper knows its monitor by.
             EXPECT_TRUE(Eventually([&] {
                 const ChildProcess pt("rampwise /pt \"" + bLut + "\" 0", true);
                 return pt.ExitCode(15000) == 0u && pt.TakeOutput() == "display 0 is kept on " + bLut + "\r\n";
             }, 6000));
             Sleep(1000);
             ResetFromOutside();
         }, b, "after periodic check", true, false},
        // The icon's menu: paused, a reset stays; resumed, or asked to, the keeper writes.
        {"icon: pause", [] {
             Command(kKeeperCommandPause);
             ResetFromOutside();
             Sleep(2000);
             EXPECT_EQ(CurrentRamp(), CurveRamp(1, 1, 1));
         }, CurveRamp(1, 1, 1), "paused from its icon", true, false},
        {"icon: resume", [] { Command(kKeeperCommandResume); }, b, "after stand-down", true, false},
        {"icon: re-apply now", [] {
             WriteDisplayRamp(0, CurveRamp(1, 1, 1));
             Command(kKeeperCommandReapply);
         }, b, "after request", true, false},
        // The last of three that come close together wins.
        {"keep a, a, b", [&] {
             for (auto& e : earlier) {
                 e = keep(aLut);
                 Sleep(300);
             }
             second = keep(bLut);
         }, b, nullptr, false, true},
        {"release 1", [&] {
             EXPECT_EQ(ChildProcess("rampwise /release 1").ExitCode(15000), 0u);
             for (auto& e : earlier)
                 EXPECT_EQ(e->ExitCode(5000), 0u) << "a superseded /keep ends with status 0";
         }, b, nullptr, false, true},
        {"icon: stop keeping", [] { Command(kKeeperCommandStop); }, b, nullptr, false, false},
        {"release all", [] { EXPECT_EQ(ChildProcess("rampwise /release").ExitCode(15000), 0u); }, b, nullptr, false, false},
        // No keeper puts it back, even after its periodic check would have.
        {"reset", [] { ResetFromOutside(); Sleep(3500); }, linear, nullptr, false, false},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.step);
        const std::size_t logged = KeepLog().size();
        s.act();
        EXPECT_TRUE(Eventually([&] { return CurrentRamp() == s.shown; }));
        // The line follows the write.
        const auto added = [&] { return KeepLog().substr(logged); };
        EXPECT_TRUE(s.cause ? Eventually([&] { return added().find(s.cause) != std::string::npos; }, 1000)
                            : added().empty())
            << added();
        EXPECT_EQ(first->ExitCode(s.firstRuns ? 0 : 5000), s.firstRuns ? STILL_ACTIVE : 0u);
        EXPECT_TRUE(!second || second->ExitCode(s.secondRuns ? 0 : 5000) == (s.secondRuns ? STILL_ACTIVE : 0u));
    }
}
