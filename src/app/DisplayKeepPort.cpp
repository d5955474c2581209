#include "app/DisplayKeepPort.h"

#include <cstdio>

#include "base/File.h"
#include "base/FileReplace.h"

namespace {

#ifdef _WIN32
constexpr const char* kRulesFileName = "rules.txt";
#else
constexpr const char* kRulesFileName = "rules";
#endif
// More than any list of rules needs; a larger file is read this far.
constexpr std::size_t kRulesFileCap = 64 * 1024;

} // namespace

std::optional<std::string> DisplayKeepPort::ChangedRules()
{
    const std::optional<std::filesystem::path> folder = ProgramFolder(UserFolder::Config);
    std::optional<RulesFileState> now;
    std::error_code error;
    if (folder) {
        const std::filesystem::path file = *folder / kRulesFileName;
        RulesFileState state{std::filesystem::last_write_time(file, error), 0};
        if (!error)
            state.size = std::filesystem::file_size(file, error);
        if (!error)
            now = state;
    }
    if (m_rulesSeen && *m_rulesSeen == now)
        return std::nullopt;
    m_rulesSeen = now;
    std::string text;
    // Through stdio: the streams would cost the keeper their locale's memory.
    const std::filesystem::path file = now ? *folder / kRulesFileName : std::filesystem::path();
#ifdef _WIN32
    std::FILE* in = now ? _wfopen(file.c_str(), L"rb") : nullptr;
#else
    std::FILE* in = now ? std::fopen(file.c_str(), "rb") : nullptr;
#endif
    if (in) {
        text.resize(kRulesFileCap);
        text.resize(std::fread(text.data(), 1, text.size(), in));
        std::fclose(in);
    }
    return text;
}

void DisplayKeepPort::Publish(const KeepStatus& status)
{
    if (!m_statusFile)
        return;
    const std::string text = FormatKeepStatus(status) + "\n";
    std::error_code error;
    std::filesystem::create_directories(m_statusFile->parent_path(), error);
    try {
        ReplaceFileContent(m_statusFile->string(), text.data(), text.size());
    } catch (const CFileException&) {
        // A full disk: "/status" shows the line before.
    }
}
