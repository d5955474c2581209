#include <gtest/gtest.h>

#include <string>

#include "app/RampwiseApp.h"
#include "framework/RegistryKey.h"

// Strings live under Software\<company>\<application>\<section> of the current user; an
// entry that is missing, no string or too long gives the default, and a string stored
// without its terminator is read whole. Each run uses a company key of its own.
TEST(ProfileStore, StringsLiveUnderCompanyAppSectionAndUnusableEntriesGiveTheDefault)
{
    const std::string company = "RampwiseTest" + std::to_string(GetCurrentProcessId());
    CRampwiseApp app;
    app.InitApplication();
    app.SetRegistryKey(company.c_str());
    RegistryKey key;
    ASSERT_EQ(key.Create(HKEY_CURRENT_USER, ("Software\\" + company + "\\rampwise_win_tests\\Section").c_str(),
                         KEY_READ | KEY_WRITE),
              ERROR_SUCCESS);
    ASSERT_TRUE(app.WriteProfileString("Section", "Entry", "100,80,744,560,1,0"));
    std::string raw;
    EXPECT_EQ(key.ReadString("Entry", raw), ERROR_SUCCESS);
    EXPECT_EQ(raw, "100,80,744,560,1,0");
    ASSERT_EQ(key.WriteString("Entry", "1,2,3,4,1,0"), ERROR_SUCCESS);
    EXPECT_EQ(app.GetProfileString("Section", "Entry"), "1,2,3,4,1,0");
    ASSERT_TRUE(app.WriteProfileString("Section", "Entry", nullptr));

    const DWORD number = 5;
    RegSetValueExA(key.Get(), "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
    key.WriteString("Huge", std::string(RegistryKey::kMaxStringBytes + 10, 'a').c_str());
    for (const char* entry : {"Entry", "Number", "Huge"})
        EXPECT_EQ(app.GetProfileString("Section", entry, "fallback"), "fallback") << entry;
    EXPECT_EQ(app.GetProfileString("NoSection", "Entry", "fallback"), "fallback");

    ASSERT_EQ(RegSetValueExA(key.Get(), "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3), ERROR_SUCCESS);
    EXPECT_EQ(app.GetProfileString("Section", "Bare"), "abc");
    RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + company).c_str());
}
