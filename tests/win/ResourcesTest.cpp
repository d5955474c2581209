// The program's resources: those compiled into this test program from the program's own
// script (the tests create its dialogs from them), and those of rampwise.exe itself.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "TestResourceIds.h"
#include "res/resource.h"

namespace {

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

std::string ProgramPath()
{
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return (std::filesystem::path(path).parent_path() / "rampwise.exe").string();
}

TEST(Resources, TestProgramCarriesItsOwnAndTheProgramsResources)
{
    for (int id : {IDD_TEST_DIALOG, IDD_RESIZE_TEST, IDD_ABOUTBOX, IDD_RAMPWISE_DIALOG})
        EXPECT_NE(FindResourceA(Self(), MAKEINTRESOURCEA(id), RT_DIALOG), nullptr) << id;
}

TEST(Resources, MenuHasTheCaptionsAndCommandsInOrder)
{
    struct Item {
        const char* text;  // nullptr: a separator
        UINT id;
    };
    struct Popup {
        const char* text;
        std::vector<Item> items;
    };
    const std::vector<Popup> expected = {
        {"&File",
         {{"&Load LUT from file\tCtrl+L", 32787}, {"&Save LUT to file\tCtrl+S", 32788}, {nullptr, 0}, {"&Exit", 1}}},
        {"&LUT",
         {{"&Reload from device", 32789},
          {"&Load default for device", 32790},
          {"Set linea&r", 32791},
          {"&Smooth", 32792}}},
        {"&Startup",
         {{"Set file for all users", 32795},
          {"Set default for all user", 32794},
          {"Delete for all users", 32793},
          {nullptr, 0},
          {"Set file for curent user", 32797},
          {"Set default fror current user", 32798},
          {"Delete for current user", 32799}}},
        {"&Help", {{"&About...", 32796}}},
    };
    HMENU bar = LoadMenuA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), static_cast<int>(expected.size()));
    char text[128];
    for (UINT p = 0; p < expected.size(); ++p) {
        GetMenuStringA(bar, p, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ(text, expected[p].text);
        HMENU popup = GetSubMenu(bar, static_cast<int>(p));
        ASSERT_NE(popup, nullptr) << expected[p].text;
        ASSERT_EQ(GetMenuItemCount(popup), static_cast<int>(expected[p].items.size())) << expected[p].text;
        for (UINT i = 0; i < expected[p].items.size(); ++i) {
            const Item& item = expected[p].items[i];
            SCOPED_TRACE(std::string(expected[p].text) + " item " + std::to_string(i));
            if (!item.text) {
                EXPECT_TRUE(GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR);
                continue;
            }
            GetMenuStringA(popup, i, text, sizeof(text), MF_BYPOSITION);
            EXPECT_STREQ(text, item.text);
            EXPECT_EQ(GetMenuItemID(popup, static_cast<int>(i)), item.id);
        }
    }
    DestroyMenu(bar);
}

TEST(Resources, AcceleratorsAndStrings)
{
    HACCEL table = LoadAcceleratorsA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 4), 2);
    for (const ACCEL& entry : entries) {
        if (entry.cmd == 0)
            continue;
        EXPECT_EQ(entry.fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY | FCONTROL) << entry.cmd;
        EXPECT_EQ(entry.key, entry.cmd == ID_FILE_LOADLUT ? 'L' : 'S') << entry.cmd;
    }
    EXPECT_NE(entries[0].cmd, entries[1].cmd);
    EXPECT_TRUE(entries[0].cmd == ID_FILE_LOADLUT || entries[0].cmd == ID_FILE_SAVELUT);
    EXPECT_TRUE(entries[1].cmd == ID_FILE_LOADLUT || entries[1].cmd == ID_FILE_SAVELUT);
    DestroyAcceleratorTable(table);

    char text[64] = {};
    EXPECT_GT(LoadStringA(Self(), IDS_ABOUTBOX, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "&About Rampwise...");
    EXPECT_GT(LoadStringA(Self(), IDS_VERSION, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "Version 1.1.0.46");
}

// Draws an icon at its own size on a mid-grey 32-bit surface and returns the pixels
// (0x00RRGGBB, top row first), so that a test sees what the user sees.
std::vector<COLORREF> DrawnIcon(int id, int size)
{
    HICON icon = static_cast<HICON>(LoadImageA(Self(), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    EXPECT_NE(icon, nullptr) << id << " at " << size;
    if (!icon)
        return {};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP surface = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, surface);
    auto* pixels = static_cast<DWORD*>(bits);
    std::fill(pixels, pixels + size * size, 0x808080u);
    EXPECT_TRUE(DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL));
    GdiFlush();
    std::vector<COLORREF> result(pixels, pixels + size * size);
    SelectObject(dc, old);
    DeleteObject(surface);
    DeleteDC(dc);
    DestroyIcon(icon);
    for (COLORREF& pixel : result)
        pixel &= 0xFFFFFF;
    return result;
}

int Red(COLORREF p) { return (p >> 16) & 0xFF; }
int Green(COLORREF p) { return (p >> 8) & 0xFF; }
int Blue(COLORREF p) { return p & 0xFF; }

TEST(Resources, IconsDrawOnATransparentBackground)
{
    for (int size : {16, 48}) {
        SCOPED_TRACE(size);
        std::vector<COLORREF> icon = DrawnIcon(IDR_MAINFRAME, size);
        ASSERT_EQ(icon.size(), static_cast<std::size_t>(size * size));
        auto at = [&](double x, double y) {
            return icon[static_cast<int>(y * size) * size + static_cast<int>(x * size)];
        };
        EXPECT_EQ(at(0, 0), 0x808080u);
        EXPECT_EQ(at(0.97, 0.97), 0x808080u);
        const COLORREF red = at(0.32, 0.35), blue = at(0.5, 0.8), middle = at(0.5, 0.46);
        EXPECT_TRUE(Red(red) > 200 && Green(red) < 100 && Blue(red) < 100) << std::hex << red;
        EXPECT_TRUE(Blue(blue) > 200 && Red(blue) < 100 && Green(blue) < 120) << std::hex << blue;
        EXPECT_TRUE(Red(middle) > 220 && Green(middle) > 220 && Blue(middle) > 220) << std::hex << middle;
    }
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        std::vector<COLORREF> refresh = DrawnIcon(IDI_REFRESH, size);
        ASSERT_EQ(refresh.size(), static_cast<std::size_t>(size * size));
        EXPECT_EQ(refresh[0], 0x808080u);
        EXPECT_EQ(refresh[size / 2 * size + size / 2], 0x808080u);  // the hole of the ring
        const COLORREF ring = refresh[size * 22 / 100 * size + size / 2];  // top of the ring
        EXPECT_TRUE(Blue(ring) > 150 && Blue(ring) > Red(ring) + 60) << std::hex << ring;
    }
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

RECT DialogUnits(HWND dialog, int x, int y, int cx, int cy)
{
    // Position and size are converted separately, as the dialog manager does.
    RECT units{x, y, cx, cy};
    MapDialogRect(dialog, &units);
    return {units.left, units.top, units.left + units.right, units.top + units.bottom};
}

RECT ChildRect(HWND dialog, HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

RECT ChildRect(HWND dialog, int id) { return ChildRect(dialog, GetDlgItem(dialog, id)); }

std::string Text(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof(text), "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

DWORD Style(HWND window) { return static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)); }
DWORD Style(HWND dialog, int id) { return Style(GetDlgItem(dialog, id)); }
bool Has(DWORD style, DWORD bits) { return (style & bits) == bits; }

TEST(Resources, MainDialogTemplate)
{
    HWND dialog = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_RAMPWISE_DIALOG), nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    char caption[32] = {};
    GetWindowTextA(dialog, caption, sizeof(caption));
    EXPECT_STREQ(caption, "Rampwise");
    EXPECT_TRUE(Has(Style(dialog), WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);
    ASSERT_NE(GetMenu(dialog), nullptr);
    EXPECT_EQ(GetMenuItemCount(GetMenu(dialog)), 4);

    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(Text(client), Text(DialogUnits(dialog, 0, 0, 322, 310)));
    EXPECT_EQ(Text(ChildRect(dialog, IDC_REFRESH)), Text(DialogUnits(dialog, 299, 7, 16, 12)));
    EXPECT_EQ(Text(ChildRect(dialog, IDC_DIAGRAM)), Text(DialogUnits(dialog, 7, 25, 308, 219)));
    EXPECT_EQ(Text(ChildRect(dialog, IDC_LOG)), Text(DialogUnits(dialog, 7, 253, 308, 50)));  // no integral height
    EXPECT_EQ(ChildRect(dialog, IDC_DISPLAYS).left, DialogUnits(dialog, 7, 7, 281, 237).left);
    EXPECT_EQ(ChildRect(dialog, IDC_DISPLAYS).right, DialogUnits(dialog, 7, 7, 281, 237).right);

    EXPECT_TRUE(Has(Style(dialog, IDC_REFRESH), BS_ICON | WS_TABSTOP));
    EXPECT_EQ(Style(dialog, IDC_DIAGRAM) & (SS_TYPEMASK | WS_BORDER), static_cast<DWORD>(SS_OWNERDRAW));
    // The window styles of the lists change at run time (scroll bars come and go, the dialog
    // manager turns WS_BORDER into a client edge), so they are tested by what they do.
    HWND displays = GetDlgItem(dialog, IDC_DISPLAYS), log = GetDlgItem(dialog, IDC_LOG);
    EXPECT_EQ(Style(displays) & 3u, static_cast<DWORD>(CBS_DROPDOWNLIST));
    EXPECT_TRUE(Has(Style(displays), WS_TABSTOP));
    EXPECT_TRUE(Has(Style(log), LBS_NOSEL | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT | LBS_NOTIFY));
    EXPECT_TRUE(GetWindowLongA(log, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    for (int i = 40; i > 0; --i) {
        const std::string line = std::to_string(i);
        SendMessageA(displays, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        SendMessageA(log, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
    }
    char first[8] = {};
    SendMessageA(displays, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "1");  // sorted as text
    SendMessageA(log, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(first));
    EXPECT_STREQ(first, "40");  // in the order added
    EXPECT_TRUE(Style(log) & WS_VSCROLL);
    COMBOBOXINFO combo{};
    combo.cbSize = sizeof(combo);
    EXPECT_TRUE(GetComboBoxInfo(displays, &combo) && (Style(combo.hwndList) & WS_VSCROLL));
    // The display list is the first control, so it has the focus when the dialog opens.
    EXPECT_EQ(GetWindow(dialog, GW_CHILD), GetDlgItem(dialog, IDC_DISPLAYS));
    DestroyWindow(dialog);
}

TEST(Resources, AboutBoxTemplate)
{
    HWND dialog = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_ABOUTBOX), nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    char text[32] = {};
    GetWindowTextA(dialog, text, sizeof(text));
    EXPECT_STREQ(text, "About Rampwise");
    RECT client{};
    GetClientRect(dialog, &client);
    EXPECT_EQ(Text(client), Text(DialogUnits(dialog, 0, 0, 217, 66)));

    HWND icon = GetWindow(dialog, GW_CHILD);  // the first control
    EXPECT_EQ(Style(icon) & SS_TYPEMASK, static_cast<DWORD>(SS_ICON));
    EXPECT_NE(SendMessageA(icon, STM_GETICON, 0, 0), 0);
    const RECT iconRect = ChildRect(dialog, icon), expectedCorner = DialogUnits(dialog, 11, 11, 0, 0);
    EXPECT_EQ(iconRect.left, expectedCorner.left);
    EXPECT_EQ(iconRect.top, expectedCorner.top);
    HWND version = GetDlgItem(dialog, IDC_VERSION);
    ASSERT_NE(version, nullptr);
    EXPECT_EQ(GetWindowTextLengthA(version), 0);
    EXPECT_EQ(Text(ChildRect(dialog, IDC_VERSION)), Text(DialogUnits(dialog, 85, 10, 125, 8)));
    EXPECT_EQ(Text(ChildRect(dialog, IDOK)), Text(DialogUnits(dialog, 160, 43, 50, 16)));
    EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
    DestroyWindow(dialog);
}

// The test program carries the program's manifest, so this proves that it parses and
// takes effect. (Wine reports every process DPI-aware, so that part is only read below.)
TEST(Resources, ManifestSelectsCommonControls6)
{
    HMODULE comctl = LoadLibraryA("comctl32.dll");  // resolved through the manifest's dependency
    ASSERT_NE(comctl, nullptr);
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(comctl, path, MAX_PATH);
    FreeLibrary(comctl);
    std::string file = path;
    std::transform(file.begin(), file.end(), file.begin(), [](unsigned char c) { return std::tolower(c); });
    EXPECT_NE(file.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0."), std::string::npos) << path;
}

std::string VersionString(const std::vector<char>& data, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
    if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
        return "(missing)";
    return value;
}

TEST(Resources, ProgramFileCarriesVersionManifestAndUserInterface)
{
    const std::string program = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(program.c_str(), &ignored);
    ASSERT_GT(size, 0u) << program;
    std::vector<char> data(size);
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 46u);
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwProductVersionLS, 46u);
    EXPECT_EQ(VersionString(data, "FileVersion"), "1.1.0.46");
    EXPECT_EQ(VersionString(data, "ProductVersion"), "1.1.0.46");
    EXPECT_EQ(VersionString(data, "ProductName"), "Rampwise");
    EXPECT_EQ(VersionString(data, "OriginalFilename"), "rampwise.exe");

    HMODULE file = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    HRSRC found = FindResourceA(file, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(file, found)));
    const std::string manifest(bytes, SizeofResource(file, found));
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             "publicKeyToken=\"6595b64144ccf1df\"",
                             "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>",
                             "level=\"asInvoker\""})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;

    const std::pair<int, LPCSTR> parts[] = {{IDD_RAMPWISE_DIALOG, RT_DIALOG}, {IDD_ABOUTBOX, RT_DIALOG},
                                            {IDR_MAINFRAME, RT_MENU},         {IDR_MAINFRAME, RT_ACCELERATOR},
                                            {IDR_MAINFRAME, RT_GROUP_ICON},   {IDI_REFRESH, RT_GROUP_ICON}};
    for (const auto& [id, type] : parts)
        EXPECT_NE(FindResourceA(file, MAKEINTRESOURCEA(id), type), nullptr) << id;
    FreeLibrary(file);
}

}  // namespace
