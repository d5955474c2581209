#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "MainDialogHarness.h"
#include "ProfileBuilder.h"
#include "framework/RegistryKey.h"
#include "res/resource.h"
#include "ui/StartupRegistry.h"

namespace {

// The display's colour profile replaced, for one test, by one that carries
// calibration curves; Wine's own profile has none.
class CalibratedDisplayProfile {
public:
    explicit CalibratedDisplayProfile(const GammaRamp& curves) : m_path(GetDisplayProfilePath(0))
    {
        std::ifstream in(m_path, std::ios::binary);
        m_original.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        std::vector<std::uint16_t> entries(curves.entries.begin(), curves.entries.end());
        const Bytes profile = ProfileBuilder().Tag(kVcgtTag, VcgtTable(3, 256, 2, U16Bytes(entries))).Build();
        std::ofstream(m_path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(profile.data()), static_cast<std::streamsize>(profile.size()));
    }
    ~CalibratedDisplayProfile()
    {
        std::ofstream(m_path, std::ios::binary | std::ios::trunc).write(m_original.data(), m_original.size());
    }
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::vector<char> m_original;
};

std::string StoredEntry(HKEY root, const char* name)
{
    RegistryKey key;
    std::string text;
    if (key.Open(root, kStartupRunKeyPath, KEY_READ) != ERROR_SUCCESS || key.ReadString(name, text) != ERROR_SUCCESS)
        return "(none)";
    return text;
}

UINT MenuState(HMENU menu, UINT id)
{
    return GetMenuState(menu, id, MF_BYCOMMAND);
}

// The About box runs its own modal loop: a timer inside it reads the version line
// and closes it.
std::string g_aboutVersion;

BOOL CALLBACK CloseAboutBox(HWND window, LPARAM)
{
    char title[64] = {};
    GetWindowTextA(window, title, sizeof(title));
    if (std::string(title) != "About Rampwise")
        return TRUE;
    char version[64] = {};
    GetDlgItemTextA(window, IDC_VERSION, version, sizeof(version));
    g_aboutVersion = version;
    PostMessageA(window, WM_COMMAND, IDOK, 0);
    return FALSE;
}

void CALLBACK AboutBoxTimer(HWND, UINT, UINT_PTR timer, DWORD)
{
    if (!EnumThreadWindows(GetCurrentThreadId(), CloseAboutBox, 0))
        KillTimer(nullptr, timer);
}

std::string VersionShownByAbout(HWND dialog, UINT message, WPARAM command)
{
    g_aboutVersion.clear();
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, AboutBoxTimer);
    SendMessageA(dialog, message, command, 0);
    KillTimer(nullptr, timer);
    return g_aboutVersion;
}

class MainDialogStartup : public MainDialog {
protected:
    void TearDown() override
    {
        for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
            RegistryKey key;
            if (key.Open(root, kStartupRunKeyPath, KEY_WRITE) == ERROR_SUCCESS)
                key.DeleteValue("Rampwise");
        }
        MainDialog::TearDown();
    }
};

} // namespace

TEST_F(MainDialog, AboutBoxFromTheHelpAndSystemMenusShowsTheVersion)
{
    ScriptedDialog dialog;
    dialog.steps = [&](ScriptedDialog& d) {
        EXPECT_EQ(VersionShownByAbout(d.m_hWnd, WM_COMMAND, ID_HELP_ABOUT), "Version 1.1.0.46");
        EXPECT_EQ(VersionShownByAbout(d.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX), "Version 1.1.0.46");

        HMENU systemMenu = GetSystemMenu(d.m_hWnd, FALSE);
        char caption[64] = {};
        GetMenuStringA(systemMenu, IDM_ABOUTBOX, caption, sizeof(caption), MF_BYCOMMAND);
        EXPECT_STREQ(caption, "&About Rampwise...");
        EXPECT_EQ(SendMessageA(d.m_hWnd, WM_QUERYDRAGICON, 0, 0),
                  reinterpret_cast<LRESULT>(SendMessageA(d.m_hWnd, WM_GETICON, ICON_BIG, 0)));
    };
    Run(dialog);
}

TEST_F(MainDialogStartup, MenuShowsWhichEntryEachScopeHolds)
{
    ScriptedDialog dialog;
    dialog.steps = [&](ScriptedDialog& d) {
        HMENU startup = GetSubMenu(GetMenu(d.m_hWnd), 2);
        ASSERT_NE(startup, nullptr);
        ASSERT_EQ(WriteStartupEntry(StartupScope::AllUsers, "Rampwise", "\"x.exe\" /pt \"c:\\day.lut\" 0"), 0);
        ASSERT_EQ(WriteStartupEntry(StartupScope::CurrentUser, "Rampwise", "\"x.exe\" /pt \"@default\" 0"), 0);
        SendMessageA(d.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(startup), 2);
        EXPECT_TRUE(MenuState(startup, ID_STARTUP_FILE_ALL) & MF_CHECKED);
        EXPECT_FALSE(MenuState(startup, ID_STARTUP_DEFAULT_ALL) & MF_CHECKED);
        EXPECT_FALSE(MenuState(startup, ID_STARTUP_FILE_USER) & MF_CHECKED);
        EXPECT_TRUE(MenuState(startup, ID_STARTUP_DEFAULT_USER) & MF_CHECKED);
        for (UINT id : {ID_STARTUP_FILE_ALL, ID_STARTUP_DEFAULT_ALL, ID_STARTUP_DELETE_ALL, ID_STARTUP_FILE_USER,
                        ID_STARTUP_DEFAULT_USER, ID_STARTUP_DELETE_USER})
            EXPECT_FALSE(MenuState(startup, id) & MF_GRAYED) << id << ": the Run keys are writable here";

        // Entries changed elsewhere show at the next opening.
        ASSERT_EQ(DeleteStartupEntry(StartupScope::AllUsers, "Rampwise"), 0);
        SendMessageA(d.m_hWnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(startup), 2);
        EXPECT_FALSE(MenuState(startup, ID_STARTUP_FILE_ALL) & MF_CHECKED);
        EXPECT_TRUE(MenuState(startup, ID_STARTUP_DEFAULT_USER) & MF_CHECKED);
    };
    Run(dialog);
}

TEST_F(MainDialogStartup, SetReplaceAndDeleteAnEntryOfTheCurrentUser)
{
    const GammaRamp fileCurve = CurveRamp(1.3, 1.3, 1.3);
    const GammaRamp profileCurve = CurveRamp(2.0, 1.7, 1.5);
    const std::string lut = files.Write("startup.lut", LutFileBytes(fileCurve));
    CalibratedDisplayProfile profile(profileCurve);
    ScriptedChooser chooser;
    chooser.answer = lut;
    ScriptedDialog dialog;
    dialog.SetFileChooser(chooser.Chooser());
    dialog.steps = [&](ScriptedDialog& d) {
        const std::string display = d.GetSelectedDisplayText();
        const std::optional<std::string> program = ProgramPathForStartupEntry();
        ASSERT_TRUE(program);

        std::size_t before = d.LineCount();
        d.Send(ID_STARTUP_FILE_USER);
        EXPECT_EQ(d.NewLines(before), (std::vector<std::string>{"* Startup LUT set for current user on:",
                                                                "   " + display, "   " + lut}));
        EXPECT_EQ(StoredEntry(HKEY_CURRENT_USER, "Rampwise"), "\"" + *program + "\" /pt \"" + lut + "\" 0");
        EXPECT_EQ(OnDisplay(), fileCurve);

        // A default entry applies the profile now and replaces the file entry.
        before = d.LineCount();
        d.Send(ID_STARTUP_DEFAULT_USER);
        EXPECT_EQ(d.NewLines(before).back(), "   " + profile.Path());
        EXPECT_EQ(StoredEntry(HKEY_CURRENT_USER, "Rampwise"), "\"" + *program + "\" /pt \"@default\" 0");
        EXPECT_EQ(OnDisplay(), profileCurve);
        EXPECT_EQ(d.Ramp(), profileCurve);

        before = d.LineCount();
        d.Send(ID_STARTUP_DELETE_USER);
        d.Send(ID_STARTUP_DELETE_USER);
        const std::vector<std::string> deleted{"* Startup LUT deleted for current user on:", "   " + display};
        std::vector<std::string> twice = deleted;
        twice.insert(twice.end(), deleted.begin(), deleted.end());
        EXPECT_EQ(d.NewLines(before), twice) << "deleting a missing entry reads the same";
        EXPECT_EQ(StoredEntry(HKEY_CURRENT_USER, "Rampwise"), "(none)");
    };
    Run(dialog);
}

TEST_F(MainDialog, LoadDefaultAppliesTheDisplaysCalibration)
{
    const GammaRamp curve = CurveRamp(1.9, 1.6, 1.2);
    CalibratedDisplayProfile profile(curve);
    ScriptedDialog dialog;
    dialog.steps = [&](ScriptedDialog& d) {
        const std::size_t before = d.LineCount();
        d.Send(ID_LUT_LOADDEFAULT);
        const std::vector<std::string> lines = d.NewLines(before);
        ASSERT_GE(lines.size(), 2u);
        EXPECT_EQ(lines[lines.size() - 2], "* LUT values loaded from default file:");
        EXPECT_EQ(lines.back(), "   " + profile.Path());
        EXPECT_EQ(lines.front(), "VCGT tag found in profile") << "the reader's own lines come first";
        EXPECT_EQ(OnDisplay(), curve);
    };
    Run(dialog);
}

TEST_F(MainDialog, ControlLOpensTheLoadDialog)
{
    ScriptedChooser chooser;
    ScriptedDialog dialog;
    dialog.SetFileChooser(chooser.Chooser());
    dialog.endAfterSteps = false;
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    dialog.steps = [&](ScriptedDialog& d) {
        BYTE pressed[256];
        std::copy(std::begin(keys), std::end(keys), pressed);
        pressed[VK_CONTROL] = 0x80;
        SetKeyboardState(pressed);
        HWND focus = GetDlgItem(d.m_hWnd, IDC_DISPLAYS);
        PostMessageA(focus, WM_KEYDOWN, 'L', 1);
        PostMessageA(focus, WM_KEYUP, 'L', 0xC0000001);
        PostMessageA(d.m_hWnd, WM_COMMAND, IDOK, 0);
    };
    Run(dialog);
    SetKeyboardState(keys);
    ASSERT_EQ(chooser.requests.size(), 1u) << "Ctrl+L did not reach the load command";
    EXPECT_TRUE(chooser.requests[0].open);
}

TEST_F(MainDialog, ReopensWhereItWasClosed)
{
    ScriptedDialog first;
    first.steps = [](ScriptedDialog& d) { SetWindowPos(d.m_hWnd, nullptr, 120, 90, 700, 640, SWP_NOZORDER); };
    Run(first);
    EXPECT_EQ(app.GetProfileString("RampwiseDlg", "WindowPlacement"), "120,90,820,730,1,0");

    ScriptedDialog second;
    second.steps = [](ScriptedDialog& d) {
        RECT window{};
        GetWindowRect(d.m_hWnd, &window);
        EXPECT_EQ(window.left, 120);
        EXPECT_EQ(window.top, 90);
        EXPECT_EQ(window.right, 820);
        EXPECT_EQ(window.bottom, 730);
    };
    Run(second);
}
