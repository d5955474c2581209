#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "framework/RegistryKey.h"
#include "ui/StartupRegistry.h"

namespace {

constexpr StartupScope kScopes[] = {StartupScope::AllUsers, StartupScope::CurrentUser};
constexpr char kName[] = "Rampwise";

struct RawValue {
    DWORD type;
    std::vector<BYTE> bytes;
};

std::optional<RawValue> ReadRaw(StartupScope scope)
{
    RegistryKey key;
    RawValue value{REG_NONE, std::vector<BYTE>(64 * 1024)};
    DWORD size = static_cast<DWORD>(value.bytes.size());
    if (key.Open(StartupRootKey(scope), kStartupRunKeyPath, KEY_READ) != ERROR_SUCCESS ||
        RegQueryValueExA(key.Get(), kName, nullptr, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

// The real Run keys are shared with the machine: the entry these tests use is saved
// first and put back (or removed) afterwards. Other tests work in a key of their own.
class StartupRegistry : public testing::Test {
protected:
    void SetUp() override
    {
        for (StartupScope scope : kScopes)
            m_saved.push_back(ReadRaw(scope));
    }
    void TearDown() override
    {
        for (std::size_t i = 0; i < m_saved.size(); ++i) {
            RegistryKey key;
            ASSERT_EQ(key.Open(StartupRootKey(kScopes[i]), kStartupRunKeyPath, KEY_WRITE), ERROR_SUCCESS);
            if (const auto& saved = m_saved[i])
                RegSetValueExA(key.Get(), kName, 0, saved->type, saved->bytes.data(), saved->bytes.size());
            else
                RegDeleteValueA(key.Get(), kName);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, m_ownKey.c_str());
    }

    std::vector<std::optional<RawValue>> m_saved;
    const std::string m_ownKey = "Software\\RampwiseStartupTest" + std::to_string(GetCurrentProcessId());
};

} // namespace

TEST_F(StartupRegistry, EntriesAreWrittenReplacedAndDeletedInBothRoots)
{
    const std::string file = FormatStartupCommand("C:\\Rampwise\\rampwise.exe", "C:\\cal\\day.lut", 3);
    const std::string byDefault = FormatStartupCommand("C:\\Rampwise\\rampwise.exe", "@default", 3);
    for (StartupScope scope : kScopes)
        ASSERT_EQ(DeleteStartupEntry(scope, kName), ERROR_SUCCESS);
    for (StartupScope scope : kScopes) {
        SCOPED_TRACE(StartupScopeName(scope));
        EXPECT_TRUE(CanWriteStartupEntries(scope));
        const StartupScope other = scope == kScopes[0] ? kScopes[1] : kScopes[0];
        for (const auto& [data, kind] : {std::pair{file, StartupEntryKind::File}, {byDefault, StartupEntryKind::Default}}) {
            ASSERT_EQ(WriteStartupEntry(scope, kName, data), ERROR_SUCCESS);
            EXPECT_EQ(ReadStartupEntryKind(scope, kName), kind);
            EXPECT_EQ(ReadStartupEntryKind(other, kName), StartupEntryKind::Absent);
            const std::optional<RawValue> raw = ReadRaw(scope);
            ASSERT_TRUE(raw);
            EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
            EXPECT_EQ(raw->bytes, std::vector<BYTE>(data.c_str(), data.c_str() + data.size() + 1));
        }
        EXPECT_EQ(DeleteStartupEntry(scope, kName), ERROR_SUCCESS);
        EXPECT_FALSE(ReadRaw(scope));
        EXPECT_EQ(DeleteStartupEntry(scope, kName), ERROR_SUCCESS) << "a missing value counts as deleted";
    }
}

TEST_F(StartupRegistry, LongValuesCountAndKeysThatCannotBeOpenedReportTheirStatus)
{
    {
        RegistryKey own;
        ASSERT_EQ(own.Create(HKEY_CURRENT_USER, m_ownKey.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
        own.WriteString("Long", (std::string(400, 'x') + "@default").c_str());
    }
    EXPECT_EQ(ReadStartupEntryKind(StartupScope::CurrentUser, "Long", m_ownKey.c_str()), StartupEntryKind::Default)
        << "longer than the menu's buffer";

    // The key is never created: a missing one fails with the open's status.
    const std::string missing = m_ownKey + "\\NoSuchRun";
    EXPECT_EQ(WriteStartupEntry(StartupScope::CurrentUser, kName, "x", missing.c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteStartupEntry(StartupScope::CurrentUser, kName, missing.c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CanWriteStartupEntries(StartupScope::CurrentUser, missing.c_str()));
    RegistryKey probe;
    EXPECT_EQ(probe.Open(HKEY_CURRENT_USER, missing.c_str(), KEY_READ), ERROR_FILE_NOT_FOUND) << "created";
}

TEST(StartupProgramPath, ConvertsOnlyWhenEveryCharacterSurvives)
{
    ASSERT_EQ(GetACP(), 1252u) << "the cases below assume Windows-1252";
    const struct {
        const wchar_t* wide;
        std::optional<std::string> narrow;
    } cases[] = {
        {L"C:\\caf\u00e9\\\u20ac.exe", "C:\\caf\xe9\\\x80.exe"},
        {L"C:\\what?\\r.exe", "C:\\what?\\r.exe"},  // a question mark of its own is no failure
        {L"C:\\\u0100\\r.exe", std::nullopt},       // would become a look-alike "A"
        {L"C:\\\u4e00\\r.exe", std::nullopt},       // would become the default "?"
        {L"C:\\\xd800\\r.exe", std::nullopt},       // a lone surrogate
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExactAnsiFromWide(c.wide), c.narrow) << testing::PrintToString(std::wstring(c.wide));
        EXPECT_EQ(AnsiPathForStartupEntry(c.wide), c.narrow) << "no such file, so no short form";
    }
}

TEST(StartupProgramPath, FallsBackToTheShortFormOfAnExistingFile)
{
    TempDir folder;
    const std::wstring path =
        (std::filesystem::path(folder.PathOf("x")).parent_path() / L"\u4e00 curve.exe").wstring();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);

    const std::optional<std::string> narrow = AnsiPathForStartupEntry(path.c_str());
    ASSERT_TRUE(narrow);
    wchar_t longPath[MAX_PATH];
    ASSERT_NE(GetLongPathNameW(std::filesystem::path(*narrow).wstring().c_str(), longPath, MAX_PATH), 0u) << *narrow;
    EXPECT_EQ(std::wstring(longPath), path) << "the short form names the very file";
}
