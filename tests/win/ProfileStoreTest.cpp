#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "framework/RegistryKey.h"
#include "framework/WinApp.h"

namespace {

constexpr char kAppName[] = "ProfileStoreTest";

class TestApp : public CWinApp {
public:
    TestApp() : CWinApp(kAppName) { InitApplication(); }
    bool RunStartup() override { return true; }
};

// Each run writes under a company key of its own and removes it afterwards.
class ProfileStore : public testing::Test {
protected:
    void SetUp() override
    {
        company = "RampwiseTest" + std::to_string(GetCurrentProcessId());
        app.SetRegistryKey(company.c_str());
    }
    void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, CompanyPath().c_str()); }

    std::string CompanyPath() const { return "Software\\" + company; }
    std::string SectionPath(const char* section) const
    {
        return CompanyPath() + "\\" + kAppName + "\\" + section;
    }
    // Writes raw bytes as a value, the way another program might.
    void PutRaw(const char* section, const char* entry, DWORD type, const void* data, DWORD size)
    {
        RegistryKey key;
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, SectionPath(section).c_str(), KEY_WRITE), ERROR_SUCCESS);
        ASSERT_EQ(RegSetValueExA(key.Get(), entry, 0, type, static_cast<const BYTE*>(data), size), ERROR_SUCCESS);
    }

    TestApp app;
    std::string company;
};

} // namespace

TEST_F(ProfileStore, WrittenStringsReadBackFromCompanyAppSection)
{
    ASSERT_TRUE(app.WriteProfileString("RampwiseDlg", "WindowPlacement", "100,80,744,560,1,0"));
    EXPECT_EQ(app.GetProfileString("RampwiseDlg", "WindowPlacement"), "100,80,744,560,1,0");

    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, SectionPath("RampwiseDlg").c_str(), KEY_READ), ERROR_SUCCESS);
    char buffer[64];
    DWORD size = sizeof(buffer);
    ASSERT_EQ(key.ReadString("WindowPlacement", buffer, size), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "100,80,744,560,1,0");
    EXPECT_EQ(size, std::strlen(buffer) + 1);

    ASSERT_TRUE(app.WriteProfileString("RampwiseDlg", "WindowPlacement", "1,2,3,4,1,0"));
    EXPECT_EQ(app.GetProfileString("RampwiseDlg", "WindowPlacement"), "1,2,3,4,1,0");
    ASSERT_TRUE(app.WriteProfileString("RampwiseDlg", "WindowPlacement", nullptr));
    EXPECT_EQ(app.GetProfileString("RampwiseDlg", "WindowPlacement", "gone"), "gone");
}

TEST_F(ProfileStore, MissingOrUnusableEntriesGiveTheDefault)
{
    EXPECT_EQ(app.GetProfileString("NoSection", "Entry", "fallback"), "fallback");
    EXPECT_EQ(app.GetProfileString("NoSection", "Entry"), "");

    ASSERT_TRUE(app.WriteProfileString("Section", "Other", "x"));
    EXPECT_EQ(app.GetProfileString("Section", "Entry", "fallback"), "fallback");

    const DWORD number = 5;
    PutRaw("Section", "Number", REG_DWORD, &number, sizeof(number));
    EXPECT_EQ(app.GetProfileString("Section", "Number", "fallback"), "fallback");

    const std::string huge(RegistryKey::kMaxStringBytes + 10, 'a');
    PutRaw("Section", "Huge", REG_SZ, huge.c_str(), static_cast<DWORD>(huge.size() + 1));
    EXPECT_EQ(app.GetProfileString("Section", "Huge", "fallback"), "fallback");

    TestApp withoutRoot;
    EXPECT_FALSE(withoutRoot.WriteProfileString("Section", "Entry", "x"));
    EXPECT_EQ(withoutRoot.GetProfileString("Section", "Other", "fallback"), "fallback");
}

TEST_F(ProfileStore, StringsWithoutTerminatorAreTerminatedByTheReader)
{
    PutRaw("Raw", "Bare", REG_SZ, "abc", 3);
    EXPECT_EQ(app.GetProfileString("Raw", "Bare"), "abc");

    RegistryKey key;
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, SectionPath("Raw").c_str(), KEY_READ), ERROR_SUCCESS);
    char buffer[8];
    std::memset(buffer, 'x', sizeof(buffer));
    DWORD size = sizeof(buffer);
    ASSERT_EQ(key.ReadString("Bare", buffer, size), ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(size, 4u);

    // No room left for our terminator: too long, and the buffer holds an empty text.
    std::memset(buffer, 'x', sizeof(buffer));
    size = 3;
    EXPECT_EQ(key.ReadString("Bare", buffer, size), ERROR_MORE_DATA);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(size, 0u);
}

TEST_F(ProfileStore, RegistryKeyReportsWrongTypesAndHoldsOneKey)
{
    const DWORD number = 5;
    PutRaw("Types", "Number", REG_DWORD, &number, sizeof(number));

    RegistryKey key;
    EXPECT_EQ(key.Close(), ERROR_SUCCESS) << "closing nothing";
    ASSERT_EQ(key.Open(HKEY_CURRENT_USER, SectionPath("Types").c_str(), KEY_READ | KEY_WRITE), ERROR_SUCCESS);
    char buffer[16] = "untouched";
    DWORD size = sizeof(buffer);
    EXPECT_EQ(key.ReadString("Number", buffer, size), ERROR_INVALID_DATA);
    EXPECT_EQ(buffer[0], '\0');
    size = sizeof(buffer);
    EXPECT_EQ(key.ReadString("Missing", buffer, size), ERROR_FILE_NOT_FOUND);

    ASSERT_EQ(key.WriteString("Text", "value"), ERROR_SUCCESS);
    std::string text;
    EXPECT_EQ(key.ReadString("Text", text), ERROR_SUCCESS);
    EXPECT_EQ(text, "value");
    EXPECT_EQ(key.DeleteValue("Text"), ERROR_SUCCESS);
    EXPECT_EQ(key.ReadString("Text", text), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(text, "");

    // A failed open keeps the key held; a move hands it over.
    HKEY held = key.Get();
    EXPECT_EQ(key.Open(HKEY_CURRENT_USER, SectionPath("NoSuchKey").c_str(), KEY_READ), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.Get(), held);
    RegistryKey moved(std::move(key));
    EXPECT_FALSE(key.IsOpen());
    EXPECT_EQ(moved.Get(), held);
    EXPECT_EQ(moved.ReadString("Number", text), ERROR_INVALID_DATA);
}
