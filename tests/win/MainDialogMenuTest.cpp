#include <gtest/gtest.h>

#include "MainDialogHarness.h"
#include "framework/RegistryKey.h"
#include "res/resource.h"
#include "ui/StartupRegistry.h"

namespace {

std::string StoredEntry()
{
    RegistryKey key;
    std::string text;
    const bool found = key.Open(HKEY_CURRENT_USER, kStartupRunKeyPath, KEY_READ) == ERROR_SUCCESS &&
                       key.ReadString("Rampwise", text) == ERROR_SUCCESS;
    return found ? text : "(none)";
}

// The About box runs its own modal loop: a timer inside it reads the version line and
// closes it.
std::string g_aboutVersion;

void CALLBACK CloseAboutBox(HWND, UINT, UINT_PTR, DWORD)
{
    const HWND about = FindWindowA(nullptr, "About Rampwise");
    if (!about || !g_aboutVersion.empty())
        return;
    char version[64] = {};
    GetDlgItemTextA(about, IDC_VERSION, version, sizeof(version));
    g_aboutVersion = version;
    PostMessageA(about, WM_COMMAND, IDOK, 0);
}

std::string VersionShownByAbout(HWND dialog, UINT message, WPARAM command)
{
    g_aboutVersion.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, CloseAboutBox);
    SendMessageA(dialog, message, command, 0);
    KillTimer(nullptr, timer);
    return g_aboutVersion;
}

class MainDialogStartup : public MainDialog {
protected:
    void TearDown() override
    {
        for (StartupScope scope : {StartupScope::AllUsers, StartupScope::CurrentUser})
            DeleteStartupEntry(scope, "Rampwise");
        MainDialog::TearDown();
    }
};

} // namespace

TEST_F(MainDialog, AboutBoxFromTheHelpAndSystemMenusShowsTheVersion)
{
    Run([&](ScriptedDialog& d) {
        EXPECT_EQ(VersionShownByAbout(d.m_hWnd, WM_COMMAND, ID_HELP_ABOUT), "Version 1.1.0.46");
        EXPECT_EQ(VersionShownByAbout(d.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX), "Version 1.1.0.46");
    });
}

TEST_F(MainDialogStartup, MenuChecksTheEntryEachScopeHoldsAtEachOpening)
{
    Run([&](ScriptedDialog& d) {
        HMENU startup = GetSubMenu(GetMenu(d.m_hWnd), 2);
        ASSERT_EQ(WriteStartupEntry(StartupScope::AllUsers, "Rampwise", "\"x.exe\" /pt \"c:\\day.lut\" 0"), 0);
        ASSERT_EQ(WriteStartupEntry(StartupScope::CurrentUser, "Rampwise", "\"x.exe\" /pt \"@default\" 0"), 0);
        const UINT ids[] = {ID_STARTUP_FILE_ALL,  ID_STARTUP_DEFAULT_ALL,  ID_STARTUP_DELETE_ALL,
                            ID_STARTUP_FILE_USER, ID_STARTUP_DEFAULT_USER, ID_STARTUP_DELETE_USER};
        for (const char* checked : {"100010", "000010"}) {
            SendMessageA(d.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(startup), 2);
            for (std::size_t i = 0; i < std::size(ids); ++i) {
                const UINT state = GetMenuState(startup, ids[i], MF_BYCOMMAND);
                EXPECT_EQ((state & MF_CHECKED) != 0, checked[i] == '1') << ids[i];
                EXPECT_FALSE(state & MF_GRAYED) << ids[i];
            }
            DeleteStartupEntry(StartupScope::AllUsers, "Rampwise");  // shows at the next opening
        }
    });
}

TEST_F(MainDialogStartup, SetReplaceAndDeleteAnEntryOfTheCurrentUser)
{
    const GammaRamp fileCurve = CurveRamp(1.3, 1.3, 1.3), profileCurve = CurveRamp(2.0, 1.7, 1.5);
    const std::string lut = files.Write("startup.lut", LutFileBytes(fileCurve)), profile = GetDisplayProfilePath(0);
    CalibratedDisplayProfile calibrated(profileCurve);
    Run([&](ScriptedDialog& d) {
        d.answer = lut;
        const std::string display = "   " + d.GetSelectedDisplayText();
        const std::string program = "\"" + ProgramPathForStartupEntry().value_or("?") + "\" /pt \"";
        EXPECT_EQ(d.Send(ID_STARTUP_FILE_USER),
                  (Lines{"* Startup LUT set for current user on:", display, "   " + lut}));
        EXPECT_EQ(StoredEntry(), program + lut + "\" 0");
        EXPECT_EQ(CurrentRamp(), fileCurve);

        const Lines set = d.Send(ID_STARTUP_DEFAULT_USER);
        EXPECT_EQ(set.empty() ? "" : set.back(), "   " + profile);
        EXPECT_EQ(StoredEntry(), program + "@default\" 0");
        EXPECT_EQ(CurrentRamp(), profileCurve);

        const Lines deleted{"* Startup LUT deleted for current user on:", display};
        EXPECT_EQ(d.Send(ID_STARTUP_DELETE_USER), deleted);
        EXPECT_EQ(d.Send(ID_STARTUP_DELETE_USER), deleted);
        EXPECT_EQ(StoredEntry(), "(none)");
    });
}

TEST_F(MainDialog, ControlLOpensTheLoadDialog)
{
    ScriptedDialog dialog;
    dialog.endAfterSteps = false;
    BYTE keys[256] = {}, pressed[256];
    GetKeyboardState(keys);
    std::copy(std::begin(keys), std::end(keys), pressed);
    pressed[VK_CONTROL] = 0x80;
    Run([&](ScriptedDialog& d) {
        SetKeyboardState(pressed);
        HWND focus = GetDlgItem(d.m_hWnd, IDC_DISPLAYS);
        PostMessageA(focus, WM_KEYDOWN, 'L', 1);
        PostMessageA(focus, WM_KEYUP, 'L', 0xC0000001);
        PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    }, std::move(dialog));
    SetKeyboardState(keys);
    ASSERT_EQ(dialog.requests.size(), 1u) << "Ctrl+L did not reach the load command";
    EXPECT_TRUE(dialog.requests[0].open);
}

TEST_F(MainDialog, ReopensWhereItWasClosed)
{
    Run([](ScriptedDialog& d) { SetWindowPos(d.m_hWnd, nullptr, 120, 90, 700, 640, SWP_NOZORDER); });
    RECT window{};
    Run([&](ScriptedDialog& d) { GetWindowRect(d.m_hWnd, &window); });
    EXPECT_EQ(std::vector<LONG>({window.left, window.top, window.right, window.bottom}),
              std::vector<LONG>({120, 90, 820, 730}));
}
