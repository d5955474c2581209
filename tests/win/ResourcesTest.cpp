// The program's resources: those compiled into this test program from the program's own
// script, and the version information and manifest of rampwise.exe itself.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "res/resource.h"

namespace {

HINSTANCE Self() { return GetModuleHandleA(nullptr); }

// The menu bar as text: popup captions, their items indented with their ids, "-" for a separator.
std::vector<std::string> MenuLines(HMENU bar)
{
    std::vector<std::string> lines;
    char text[128];
    for (int p = 0; p < GetMenuItemCount(bar); ++p) {
        GetMenuStringA(bar, p, text, sizeof(text), MF_BYPOSITION);
        lines.push_back(text);
        HMENU popup = GetSubMenu(bar, p);
        for (int i = 0; popup && i < GetMenuItemCount(popup); ++i) {
            GetMenuStringA(popup, i, text, sizeof(text), MF_BYPOSITION);
            const bool separator = GetMenuState(popup, i, MF_BYPOSITION) & MF_SEPARATOR;
            lines.push_back(separator ? "  -" : "  " + std::string(text) + " " + std::to_string(GetMenuItemID(popup, i)));
        }
    }
    return lines;
}

TEST(Resources, MenuAcceleratorsAndStrings)
{
    HMENU bar = LoadMenuA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(MenuLines(bar), (std::vector<std::string>{
                                  "&File", "  &Load LUT from file\tCtrl+L 32787", "  &Save LUT to file\tCtrl+S 32788",
                                  "  -", "  &Exit 1",
                                  "&LUT", "  &Reload from device 32789", "  &Load default for device 32790",
                                  "  Set linea&r 32791", "  &Smooth 32792",
                                  "&Startup", "  Set file for all users 32795", "  Set default for all user 32794",
                                  "  Delete for all users 32793", "  -", "  Set file for curent user 32797",
                                  "  Set default fror current user 32798", "  Delete for current user 32799",
                                  "&Help", "  &About... 32796"}));
    DestroyMenu(bar);

    HACCEL table = LoadAcceleratorsA(Self(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableA(table, entries, 4), 2);
    std::map<WORD, WORD> keys;  // command: key
    for (int i = 0; i < 2; ++i) {
        keys[entries[i].cmd] = entries[i].key;
        EXPECT_EQ(entries[i].fVirt & (FVIRTKEY | FCONTROL | FSHIFT | FALT), FVIRTKEY | FCONTROL) << "Ctrl only";
    }
    EXPECT_EQ(keys, (std::map<WORD, WORD>{{ID_FILE_LOADLUT, 'L'}, {ID_FILE_SAVELUT, 'S'}}));
    DestroyAcceleratorTable(table);

    char text[64] = {};
    LoadStringA(Self(), IDS_ABOUTBOX, text, sizeof(text));
    EXPECT_STREQ(text, "&About Rampwise...");
    LoadStringA(Self(), IDS_VERSION, text, sizeof(text));
    EXPECT_STREQ(text, "Version 1.1.0.46");
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

TEST(Resources, MainDialogHasItsFourControls)
{
    HWND dialog = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_RAMPWISE_DIALOG), nullptr, PlainDialogProc, 0);
    ASSERT_NE(dialog, nullptr);
    const std::pair<int, const char*> controls[] = {
        {IDC_DISPLAYS, "ComboBox"}, {IDC_REFRESH, "Button"}, {IDC_DIAGRAM, "Static"}, {IDC_LOG, "ListBox"}};
    for (const auto& [id, className] : controls) {
        char name[32] = {};
        GetClassNameA(GetDlgItem(dialog, id), name, sizeof(name));
        EXPECT_STREQ(name, className) << id;
    }
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dialog, IDC_DIAGRAM), GWL_STYLE) & SS_TYPEMASK, SS_OWNERDRAW);
    DestroyWindow(dialog);
}

TEST(Resources, ProgramFileCarriesVersionAndManifest)
{
    char self[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string program = (std::filesystem::path(self).parent_path() / "rampwise.exe").string();
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(program.c_str(), &ignored));
    ASSERT_FALSE(data.empty()) << program;
    ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010001u);
    EXPECT_EQ(fixed->dwFileVersionLS, 46u);
    for (const char* name : {"FileVersion", "ProductVersion"}) {
        char* value = nullptr;
        const std::string path = std::string("\\StringFileInfo\\040904b0\\") + name;
        ASSERT_TRUE(VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) << name;
        EXPECT_STREQ(value, "1.1.0.46") << name;
    }

    HMODULE file = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(file, nullptr);
    HRSRC found = FindResourceA(file, MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(file, found))),
                               SizeofResource(file, found));
    FreeLibrary(file);
    for (const char* part : {"name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
                             "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true</dpiAware>"})
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
}

}  // namespace
