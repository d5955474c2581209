#include <gtest/gtest.h>

#include <windows.h>
#include <sddl.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "TempDir.h"
#include "framework/RegistryKey.h"
#include "ui/StartupRegistry.h"

namespace {

constexpr StartupScope kScopes[] = {StartupScope::AllUsers, StartupScope::CurrentUser};
const char* const kValueNames[] = {"Rampwise", "Rampwise_3"};

// A value as stored: type and raw bytes; nullopt when there is none.
struct RawValue {
    DWORD type;
    std::vector<BYTE> bytes;
};

std::optional<RawValue> ReadRaw(HKEY root, const char* path, const char* name)
{
    RegistryKey key;
    if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS)
        return std::nullopt;
    RawValue value{REG_NONE, std::vector<BYTE>(64 * 1024)};
    DWORD size = static_cast<DWORD>(value.bytes.size());
    if (RegQueryValueExA(key.Get(), name, nullptr, &value.type, value.bytes.data(), &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

std::vector<BYTE> StringBytes(const std::string& text)
{
    return std::vector<BYTE>(text.c_str(), text.c_str() + text.size() + 1);
}

// The real Run keys are shared with the machine: the entries these tests use are
// saved first and put back (or removed) afterwards. Other tests work in a key of
// their own below the current user's root.
class StartupRegistry : public testing::Test {
protected:
    void SetUp() override
    {
        for (StartupScope scope : kScopes)
            for (const char* name : kValueNames)
                m_saved.push_back({scope, name, ReadRaw(StartupRootKey(scope), kStartupRunKeyPath, name)});
        m_ownKey = "Software\\RampwiseStartupTest" + std::to_string(GetCurrentProcessId());
    }

    void TearDown() override
    {
        for (const Saved& saved : m_saved) {
            RegistryKey key;
            ASSERT_EQ(key.Open(StartupRootKey(saved.scope), kStartupRunKeyPath, KEY_WRITE), ERROR_SUCCESS);
            if (saved.value)
                RegSetValueExA(key.Get(), saved.name, 0, saved.value->type, saved.value->bytes.data(),
                               static_cast<DWORD>(saved.value->bytes.size()));
            else
                RegDeleteValueA(key.Get(), saved.name);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, m_ownKey.c_str());
    }

    RegistryKey CreateOwnKey()
    {
        RegistryKey key;
        EXPECT_EQ(key.Create(HKEY_CURRENT_USER, m_ownKey.c_str(), KEY_ALL_ACCESS), ERROR_SUCCESS);
        return key;
    }

    struct Saved {
        StartupScope scope;
        const char* name;
        std::optional<RawValue> value;
    };
    std::vector<Saved> m_saved;
    std::string m_ownKey;
};

} // namespace

TEST_F(StartupRegistry, EntriesAreWrittenReplacedAndDeletedInBothRoots)
{
    const std::string file = FormatStartupCommand("C:\\Rampwise\\rampwise.exe", "C:\\cal\\day.lut", 3);
    const std::string keywordInPath = FormatStartupCommand("C:\\Rampwise\\rampwise.exe", "C:\\@default\\a.lut", 3);
    const std::string byDefault = FormatStartupCommand("C:\\Rampwise\\rampwise.exe", "@default", 3);

    for (StartupScope scope : kScopes) {
        const HKEY root = StartupRootKey(scope);
        for (const char* name : kValueNames) {
            SCOPED_TRACE(std::string(StartupScopeName(scope)) + " " + name);
            ASSERT_EQ(DeleteStartupEntry(scope, name), ERROR_SUCCESS);
            EXPECT_EQ(ReadStartupEntryKind(scope, name), StartupEntryKind::Absent);

            const struct {
                const std::string& data;
                StartupEntryKind kind;
            } steps[] = {{file, StartupEntryKind::File},
                         {keywordInPath, StartupEntryKind::Default},
                         {byDefault, StartupEntryKind::Default},
                         {file, StartupEntryKind::File}};
            for (const auto& step : steps) {
                ASSERT_EQ(WriteStartupEntry(scope, name, step.data), ERROR_SUCCESS);
                EXPECT_EQ(ReadStartupEntryKind(scope, name), step.kind) << step.data;
                std::optional<RawValue> raw = ReadRaw(root, kStartupRunKeyPath, name);
                ASSERT_TRUE(raw);
                EXPECT_EQ(raw->type, static_cast<DWORD>(REG_SZ));
                EXPECT_EQ(raw->bytes, StringBytes(step.data));
            }

            EXPECT_EQ(DeleteStartupEntry(scope, name), ERROR_SUCCESS);
            EXPECT_FALSE(ReadRaw(root, kStartupRunKeyPath, name));
            EXPECT_EQ(ReadStartupEntryKind(scope, name), StartupEntryKind::Absent);
            EXPECT_EQ(DeleteStartupEntry(scope, name), ERROR_SUCCESS) << "a missing value counts as deleted";
        }
    }
    // Entries of the two roots and of two displays are independent of each other.
    ASSERT_EQ(WriteStartupEntry(StartupScope::AllUsers, "Rampwise", byDefault), ERROR_SUCCESS);
    ASSERT_EQ(WriteStartupEntry(StartupScope::CurrentUser, "Rampwise_3", file), ERROR_SUCCESS);
    EXPECT_EQ(ReadStartupEntryKind(StartupScope::AllUsers, "Rampwise"), StartupEntryKind::Default);
    EXPECT_EQ(ReadStartupEntryKind(StartupScope::AllUsers, "Rampwise_3"), StartupEntryKind::Absent);
    EXPECT_EQ(ReadStartupEntryKind(StartupScope::CurrentUser, "Rampwise"), StartupEntryKind::Absent);
    EXPECT_EQ(ReadStartupEntryKind(StartupScope::CurrentUser, "Rampwise_3"), StartupEntryKind::File);
}

TEST_F(StartupRegistry, BothRunKeysOpenForWritingUnderWine)
{
    for (StartupScope scope : kScopes)
        EXPECT_TRUE(CanWriteStartupEntries(scope)) << StartupScopeName(scope);
}

// Values another program left: no plain string is no entry; a string longer than the
// menu's buffer still is one.
TEST_F(StartupRegistry, ValuesThatAreNoPlainStringAreAbsentLongStringsCount)
{
    RegistryKey own = CreateOwnKey();
    const DWORD number = 1;
    const std::string expand = "\"%ProgramFiles%\\r.exe\" /pt \"@default\" 0";
    const std::string longDefault = std::string(400, 'x') + "@default";
    const std::string longFile(400, 'x');
    ASSERT_EQ(RegSetValueExA(own.Get(), "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), 0);
    ASSERT_EQ(own.WriteString("Expand", expand.c_str(), REG_EXPAND_SZ), ERROR_SUCCESS);
    ASSERT_EQ(own.WriteString("Empty", ""), ERROR_SUCCESS);
    ASSERT_EQ(own.WriteString("LongDefault", longDefault.c_str()), ERROR_SUCCESS);
    ASSERT_EQ(own.WriteString("LongFile", longFile.c_str()), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(own.Get(), "Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>("@default"), 8), 0);

    const struct {
        const char* name;
        StartupEntryKind kind;
    } cases[] = {{"Number", StartupEntryKind::Absent},      {"Expand", StartupEntryKind::Absent},
                 {"Empty", StartupEntryKind::Absent},       {"Missing", StartupEntryKind::Absent},
                 {"LongDefault", StartupEntryKind::Default}, {"LongFile", StartupEntryKind::File},
                 {"Bare", StartupEntryKind::Default}};
    for (const auto& c : cases)
        EXPECT_EQ(ReadStartupEntryKind(StartupScope::CurrentUser, c.name, m_ownKey.c_str()), c.kind) << c.name;
}

// The key is never created: a missing key is a failure with the open's status, for
// deleting too. A key the user may only read refuses both, and keeps its entry.
TEST_F(StartupRegistry, KeysThatCannotBeOpenedForWritingReportTheirStatus)
{
    const std::string missing = m_ownKey + "\\NoSuchRun";
    EXPECT_EQ(WriteStartupEntry(StartupScope::CurrentUser, "Rampwise", "x", missing.c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(DeleteStartupEntry(StartupScope::CurrentUser, "Rampwise", missing.c_str()), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(CanWriteStartupEntries(StartupScope::CurrentUser, missing.c_str()));
    EXPECT_EQ(ReadStartupEntryKind(StartupScope::CurrentUser, "Rampwise", missing.c_str()), StartupEntryKind::Absent);
    EXPECT_FALSE(ReadRaw(HKEY_CURRENT_USER, missing.c_str(), nullptr)) << "the key was created";

    {
        RegistryKey own = CreateOwnKey();
        ASSERT_EQ(own.WriteString("Rampwise", "\"C:\\r.exe\" /pt \"C:\\day.lut\" 0"), ERROR_SUCCESS);
        PSECURITY_DESCRIPTOR readOnly = nullptr;
        ASSERT_TRUE(ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;KR;;;WD)(A;;SD;;;WD)", SDDL_REVISION_1,
                                                                         &readOnly, nullptr));
        LONG secured = RegSetKeySecurity(own.Get(), DACL_SECURITY_INFORMATION, readOnly);
        LocalFree(readOnly);
        ASSERT_EQ(secured, ERROR_SUCCESS);
    }
    const char* own = m_ownKey.c_str();
    EXPECT_FALSE(CanWriteStartupEntries(StartupScope::CurrentUser, own));
    EXPECT_EQ(WriteStartupEntry(StartupScope::CurrentUser, "Rampwise", "\"C:\\r.exe\" /pt \"@default\" 0", own),
              ERROR_ACCESS_DENIED);
    EXPECT_EQ(DeleteStartupEntry(StartupScope::CurrentUser, "Rampwise", own), ERROR_ACCESS_DENIED);
    EXPECT_EQ(ReadStartupEntryKind(StartupScope::CurrentUser, "Rampwise", own), StartupEntryKind::File);
}

TEST(StartupProgramPath, ConvertsOnlyWhenEveryCharacterSurvives)
{
    ASSERT_EQ(GetACP(), 1252u) << "the cases below assume Windows-1252";
    const struct {
        const wchar_t* wide;
        std::optional<std::string> narrow;
    } cases[] = {
        {L"C:\\Program Files\\Rampwise\\rampwise.exe", "C:\\Program Files\\Rampwise\\rampwise.exe"},
        {L"C:\\caf\u00e9\\\u20ac.exe", "C:\\caf\xe9\\\x80.exe"},
        {L"C:\\what?\\r.exe", "C:\\what?\\r.exe"},
        {L"", ""},
        {L"C:\\\u0100\\r.exe", std::nullopt},  // would become a look-alike "A"
        {L"C:\\\u4e00\\r.exe", std::nullopt},  // would become the default "?"
        {L"C:\\\xd800\\r.exe", std::nullopt},   // a lone surrogate
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

    std::optional<std::string> narrow = AnsiPathForStartupEntry(path.c_str());
    ASSERT_TRUE(narrow);
    EXPECT_EQ(narrow->find('?'), std::string::npos) << *narrow;
    // The short form names the very file.
    wchar_t longPath[MAX_PATH];
    const std::wstring shortWide = std::filesystem::path(*narrow).wstring();
    ASSERT_NE(GetLongPathNameW(shortWide.c_str(), longPath, MAX_PATH), 0u) << *narrow;
    EXPECT_EQ(std::wstring(longPath), path);
}

TEST(StartupProgramPath, ProgramPathIsThisProcessFile)
{
    std::optional<std::string> path = ProgramPathForStartupEntry();
    ASSERT_TRUE(path);
    char module[MAX_PATH];
    ASSERT_NE(GetModuleFileNameA(nullptr, module, MAX_PATH), 0u);
    EXPECT_EQ(lstrcmpiA(module, path->c_str()), 0) << *path << " / " << module;
}
