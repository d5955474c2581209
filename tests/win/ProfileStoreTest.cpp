#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/RegistryKey.h"
#include "framework/WinApp.h"

namespace {

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp("ProfileStoreTest") { InitApplication(); }
    bool RunStartup() override { return true; }
};

// Each run writes under a company key of its own and removes it afterwards.
class ProfileStore : public testing::Test {
protected:
    void SetUp() override { app.SetRegistryKey(company.c_str()); }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, ("Software\\" + company).c_str()); }

    // The section's key, opened for reading and writing raw values.
    RegistryKey Section()
    {
        RegistryKey key;
        const std::string path = "Software\\" + company + "\\ProfileStoreTest\\Section";
        EXPECT_EQ(key.Create(HKEY_CURRENT_USER, path.c_str(), KEY_READ | KEY_WRITE), ERROR_SUCCESS);
        return key;
    }

    TestApp app;
    std::string company = "RampwiseTest" + std::to_string(GetCurrentProcessId());
};

} // namespace

TEST_F(ProfileStore, StringsLiveUnderCompanyAppSection)
{
    ASSERT_TRUE(app.WriteProfileString("Section", "Entry", "100,80,744,560,1,0"));
    std::string raw;
    EXPECT_EQ(Section().ReadString("Entry", raw), ERROR_SUCCESS);
    EXPECT_EQ(raw, "100,80,744,560,1,0");
    ASSERT_EQ(Section().WriteString("Entry", "1,2,3,4,1,0"), ERROR_SUCCESS);
    EXPECT_EQ(app.GetProfileString("Section", "Entry"), "1,2,3,4,1,0");
    ASSERT_TRUE(app.WriteProfileString("Section", "Entry", nullptr));
    EXPECT_EQ(app.GetProfileString("Section", "Entry", "gone"), "gone");
}

TEST_F(ProfileStore, MissingOrUnusableEntriesGiveTheDefault)
{
    EXPECT_EQ(app.GetProfileString("NoSection", "Entry", "fallback"), "fallback");
    const DWORD number = 5;
    const std::string huge(RegistryKey::kMaxStringBytes + 10, 'a');
    {
        RegistryKey key = Section();
        RegSetValueExA(key.Get(), "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof(number));
        key.WriteString("Huge", huge.c_str());
    }
    for (const char* entry : {"Missing", "Number", "Huge"})
        EXPECT_EQ(app.GetProfileString("Section", entry, "fallback"), "fallback") << entry;
    EXPECT_FALSE(TestApp().WriteProfileString("Section", "Entry", "x")) << "no company key set";
}

TEST_F(ProfileStore, StringsWithoutTerminatorAreReadSafely)
{
    RegistryKey key = Section();
    ASSERT_EQ(RegSetValueExA(key.Get(), "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("abc"), 3), ERROR_SUCCESS);
    EXPECT_EQ(app.GetProfileString("Section", "Bare"), "abc");

    char buffer[8];
    std::memset(buffer, 'x', sizeof(buffer));
    DWORD size = sizeof(buffer);
    EXPECT_EQ(key.ReadString("Bare", buffer, size), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "abc");
    std::memset(buffer, 'x', sizeof(buffer));
    size = 3;  // no room left for the terminator
    EXPECT_EQ(key.ReadString("Bare", buffer, size), ERROR_MORE_DATA);
    EXPECT_EQ(buffer[0], '\0');
}
