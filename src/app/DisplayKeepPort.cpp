#include "app/DisplayKeepPort.h"

#include <fstream>
#include <iterator>

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
    if (now) {
        std::ifstream in(*folder / kRulesFileName, std::ios::binary);
        text.resize(kRulesFileCap);
        in.read(text.data(), static_cast<std::streamsize>(text.size()));
        text.resize(static_cast<std::size_t>(in.gcount()));
    }
    return text;
}

void DisplayKeepPort::Publish(const std::string& status)
{
    if (!m_statusFile)
        return;
    const std::string text = status + "\n";
    std::error_code error;
    std::filesystem::create_directories(m_statusFile->parent_path(), error);
    try {
        ReplaceFileContent(m_statusFile->string(), text.data(), text.size());
    } catch (const CFileException&) {
        // A full disk: "/status" shows the line before.
    }
}
