#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "TempDir.h"
#include "base/TextWin32.h"
#include "framework/RegistryKey.h"
#include "ui/StartupRegistry.h"

// Entries in the real Run keys are written and deleted by the main dialog tests; this
// one names a key that does not exist, and which the store must never create.
TEST(StartupRegistry, KeysThatCannotBeOpenedReportTheirStatusAndAreNotMade)
{
    const std::string own = "Software\\RampwiseStartupTest" + std::to_string(GetCurrentProcessId());
    const std::string missing = own + "\\NoSuchRun";
    RegistryStartupStore nowhere(missing.c_str());
    EXPECT_EQ(nowhere.Write(StartupScope::CurrentUser, "Rampwise", "x"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(nowhere.Delete(StartupScope::CurrentUser, "Rampwise"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(nowhere.CanWrite(StartupScope::CurrentUser));
    EXPECT_EQ(RegistryKey().Open(HKEY_CURRENT_USER, own.c_str(), KEY_READ), ERROR_FILE_NOT_FOUND) << "made";
}

// The program's path goes into an entry in the ANSI code page only when every character
// survives, else in its short form when the file exists. The program's code page is
// UTF-8, which holds any name; systems before Windows 10 1903 keep one like Windows-1252.
TEST(StartupProgramPath, ConvertsOnlyWhenEveryCharacterSurvivesElseTakesTheShortForm)
{
    const struct { UINT codePage; const wchar_t* wide; std::optional<std::string> narrow; } cases[] = {
        {1252, L"C:\\caf\u00e9\\\u20ac.exe", "C:\\caf\xe9\\\x80.exe"},
        {1252, L"C:\\what?\\r.exe", "C:\\what?\\r.exe"},  // a question mark of its own is no failure
        {1252, L"C:\\\u0100\\r.exe", std::nullopt},       // would become a look-alike "A"
        {1252, L"C:\\\u4e00\\r.exe", std::nullopt},       // would become the default "?"
        {1252, L"C:\\\xd800\\r.exe", std::nullopt},       // a lone surrogate
        {CP_ACP, L"C:\\\u4e00\\\u0416.exe", "C:\\\xe4\xb8\x80\\\xd0\x96.exe"},  // UTF-8, from the manifest
    };
    for (const auto& [codePage, wide, narrow] : cases) {
        EXPECT_EQ(ExactAnsiFromWide(wide, codePage), narrow) << testing::PrintToString(std::wstring(wide));
        EXPECT_EQ(AnsiPathForStartupEntry(wide, codePage), narrow) << "no such file, so no short form";
    }

    TempDir folder;
    const std::wstring path = (std::filesystem::path(folder.PathOf("x")).parent_path() / L"\u4e00 curve.exe").wstring();
    CloseHandle(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    const std::optional<std::string> narrow = AnsiPathForStartupEntry(path.c_str(), 1252);
    ASSERT_TRUE(narrow);
    EXPECT_TRUE(std::filesystem::equivalent(std::filesystem::path(*narrow), path)) << *narrow;
}
