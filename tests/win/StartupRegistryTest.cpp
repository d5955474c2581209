#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

#include "TempDir.h"
#include "base/TextWin32.h"
#include "ui/StartupRegistry.h"

// Entries in the real Run keys are written and deleted by the main dialog tests; this
// one names a key that does not exist. Had the store made the key, it would answer 0.
TEST(StartupRegistry, KeysThatCannotBeOpenedReportTheirStatus)
{
    RegistryStartupStore nowhere("Software\\RampwiseStartupTest\\NoSuchRun");
    EXPECT_EQ(nowhere.Write(StartupScope::CurrentUser, "Rampwise", "x"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(nowhere.Delete(StartupScope::CurrentUser, "Rampwise"), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(nowhere.CanWrite(StartupScope::CurrentUser));
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
        {CP_ACP, L"C:\\\u4e00\\\u0416.exe", "C:\\\xe4\xb8\x80\\\xd0\x96.exe"},  // UTF-8, from the manifest
        {CP_ACP, L"C:\\\xd800\\r.exe", std::nullopt},     // a lone surrogate, which UTF-8 cannot hold
    };
    for (const auto& [codePage, wide, narrow] : cases)
        EXPECT_EQ(AnsiPathForStartupEntry(wide, codePage), narrow) << testing::PrintToString(std::wstring(wide));

    // The file exists: its short form names it in any code page.
    TempDir folder;
    const std::wstring path = WideFromAnsi(folder.Write("\u4e00 curve.exe", {}), CP_UTF8);
    const std::optional<std::string> narrow = AnsiPathForStartupEntry(path.c_str(), 1252);
    EXPECT_TRUE(narrow && std::filesystem::equivalent(*narrow, path)) << narrow.value_or("none");
}
