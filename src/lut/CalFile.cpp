#include "lut/CalFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string_view>
#include <vector>

#include "base/File.h"
#include "base/FileReplace.h"
#include "base/Log.h"
#include "lut/ByteSource.h"

namespace {

// Real calibration files are a few tens of kilobytes; anything larger is not one.
constexpr std::size_t kMaxFileSize = std::size_t{1} << 20;

// The columns of a row, in the order the ramp needs them: input, then the channels.
constexpr std::array<std::string_view, 4> kFieldNames = {"RGB_I", "RGB_R", "RGB_G", "RGB_B"};
using Row = std::array<double, kFieldNames.size()>;

// Video levels: 16 to 235 of 255, in 16-bit units 16 * 256 to 235 * 256.
constexpr double kVideoBlack = 4096.0;
constexpr double kVideoSpan = 56064.0;

// What is wrong, and where: line counts from 1.
struct Refusal {
    int line = 0;
    std::string reason;
};

// The words of one line: blanks separate them, a double-quoted word keeps its blanks
// and loses its quotes, and '#' outside quotes ends the line.
std::vector<std::string_view> SplitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++pos;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            const std::size_t end = std::min(line.find('"', pos + 1), line.size());
            words.push_back(line.substr(pos + 1, end - pos - 1));
            pos = end + 1;
        } else {
            const std::size_t end = std::min(line.find_first_of(" \t\r#\"", pos), line.size());
            words.push_back(line.substr(pos, end - pos));
            pos = end;
        }
    }
    return words;
}

// A whole word as a number, without sign or blanks around it.
std::optional<double> ReadNumber(std::string_view word)
{
    double value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

std::optional<std::size_t> ReadCount(std::string_view word)
{
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (error != std::errc() || end != word.data() + word.size())
        return std::nullopt;
    return value;
}

// The table of a calibration file, checked; its rows in kFieldNames order.
struct CalTable {
    std::vector<Row> rows;
    bool videoLevels = false;
};

class CalParser {
public:
    explicit CalParser(std::string_view text) : m_text(text) {}

    // The table, or why the text is not a calibration file we can use.
    std::optional<Refusal> Parse(CalTable& table);

private:
    enum class Part { Keywords, Format, Data, Done };

    std::optional<Refusal> Keyword(const std::vector<std::string_view>& words);
    std::optional<Refusal> FormatWord(std::string_view word);
    std::optional<Refusal> DataRow(const std::vector<std::string_view>& words);
    Refusal Refuse(std::string reason) const { return {m_line, std::move(reason)}; }

    std::string_view m_text;
    int m_line = 0;
    Part m_part = Part::Keywords;
    bool m_deviceClass = false, m_colorRep = false, m_fieldCount = false, m_formatDone = false;
    std::optional<std::size_t> m_setCount;
    std::vector<std::string_view> m_fields;
    std::array<std::size_t, kFieldNames.size()> m_column{};  // where each of kFieldNames is in a row
    CalTable m_table;
};

std::optional<Refusal> CalParser::Parse(CalTable& table)
{
    std::size_t pos = 0;
    while (pos < m_text.size() && m_part != Part::Done) {
        const std::size_t end = std::min(m_text.find('\n', pos), m_text.size());
        const std::vector<std::string_view> words = SplitWords(m_text.substr(pos, end - pos));
        pos = end + 1;
        ++m_line;
        if (m_line == 1) {
            if (words.size() != 1 || words[0] != "CAL")
                return Refuse("the file does not begin with a line CAL");
            continue;
        }
        if (words.empty())
            continue;
        std::optional<Refusal> refusal;
        switch (m_part) {
        case Part::Keywords:
            refusal = Keyword(words);
            break;
        case Part::Format:
            for (std::size_t i = 0; i < words.size() && !refusal && m_part == Part::Format; ++i)
                refusal = FormatWord(words[i]);
            break;
        case Part::Data:
            refusal = DataRow(words);
            break;
        case Part::Done:
            break;
        }
        if (refusal)
            return refusal;
    }
    if (m_line == 0)
        return Refusal{1, "the file does not begin with a line CAL"};
    if (m_part != Part::Done)
        return Refuse(m_part == Part::Keywords ? "the file has no BEGIN_DATA"
                                               : m_part == Part::Format ? "the file ends before END_DATA_FORMAT"
                                                                        : "the file ends before END_DATA");
    table = std::move(m_table);
    return std::nullopt;
}

// Keywords that do not concern a display's curves are passed over, as are those of
// other programs.
std::optional<Refusal> CalParser::Keyword(const std::vector<std::string_view>& words)
{
    const std::string_view keyword = words[0];
    const std::string_view value = words.size() > 1 ? words[1] : std::string_view();
    if (keyword == "DEVICE_CLASS") {
        if (value != "DISPLAY")
            return Refuse("DEVICE_CLASS is not DISPLAY");
        m_deviceClass = true;
    } else if (keyword == "COLOR_REP") {
        if (value != "RGB")
            return Refuse("COLOR_REP is not RGB");
        m_colorRep = true;
    } else if (keyword == "TV_OUTPUT_ENCODING") {
        if (value != "YES" && value != "NO")
            return Refuse("TV_OUTPUT_ENCODING is neither YES nor NO");
        m_table.videoLevels = value == "YES";
    } else if (keyword == "NUMBER_OF_FIELDS") {
        if (ReadCount(value) != kFieldNames.size())
            return Refuse("NUMBER_OF_FIELDS is not 4");
        m_fieldCount = true;
    } else if (keyword == "NUMBER_OF_SETS") {
        m_setCount = ReadCount(value);
        if (!m_setCount || *m_setCount < 2)
            return Refuse("NUMBER_OF_SETS is not a number of 2 or more");
    } else if (keyword == "BEGIN_DATA_FORMAT") {
        m_part = Part::Format;
        for (std::size_t i = 1; i < words.size() && m_part == Part::Format; ++i) {
            if (std::optional<Refusal> refusal = FormatWord(words[i]))
                return refusal;
        }
    } else if (keyword == "BEGIN_DATA") {
        if (!m_deviceClass || !m_colorRep)
            return Refuse("DEVICE_CLASS or COLOR_REP is missing before BEGIN_DATA");
        if (!m_fieldCount || !m_formatDone)
            return Refuse("NUMBER_OF_FIELDS or the data format is missing before BEGIN_DATA");
        if (!m_setCount)
            return Refuse("NUMBER_OF_SETS is missing before BEGIN_DATA");
        m_part = Part::Data;
    }
    return std::nullopt;
}

// One word between BEGIN_DATA_FORMAT and END_DATA_FORMAT.
std::optional<Refusal> CalParser::FormatWord(std::string_view word)
{
    if (word != "END_DATA_FORMAT") {
        if (m_fields.size() == kFieldNames.size())
            return Refuse("the data format names more than 4 fields");
        m_fields.push_back(word);
        return std::nullopt;
    }
    for (std::size_t f = 0; f < kFieldNames.size(); ++f) {
        const auto found = std::find(m_fields.begin(), m_fields.end(), kFieldNames[f]);
        if (found == m_fields.end())
            return Refuse("the data format does not name " + std::string(kFieldNames[f]));
        m_column[f] = static_cast<std::size_t>(found - m_fields.begin());
    }
    m_formatDone = true;
    m_part = Part::Keywords;
    return std::nullopt;
}

std::optional<Refusal> CalParser::DataRow(const std::vector<std::string_view>& words)
{
    const std::size_t sets = *m_setCount;
    auto& rows = m_table.rows;
    if (words[0] == "END_DATA") {
        if (rows.size() != sets)
            return Refuse("NUMBER_OF_SETS is " + std::to_string(sets) + " but the data has " +
                          std::to_string(rows.size()) + " rows");
        m_part = Part::Done;
        return std::nullopt;
    }
    if (rows.size() == sets)
        return Refuse("the data has more rows than NUMBER_OF_SETS (" + std::to_string(sets) + ")");
    if (words.size() != kFieldNames.size())
        return Refuse("a row has " + std::to_string(words.size()) + " numbers instead of 4");
    Row row{};
    for (std::size_t f = 0; f < kFieldNames.size(); ++f) {
        const std::optional<double> value = ReadNumber(words[m_column[f]]);
        if (!value || !(*value >= 0.0 && *value <= 1.0))
            return Refuse(std::string(kFieldNames[f]) + " is not a number between 0 and 1");
        row[f] = *value;
    }
    if (!rows.empty() && row[0] <= rows.back()[0])
        return Refuse("RGB_I does not increase");
    rows.push_back(row);
    return std::nullopt;
}

// The curve of one column at input x: linear between the rows that enclose x, and
// level with the first or last row outside them.
double CurveAt(const std::vector<Row>& rows, std::size_t field, double x)
{
    if (x <= rows.front()[0])
        return rows.front()[field];
    if (x >= rows.back()[0])
        return rows.back()[field];
    const auto above = std::upper_bound(rows.begin(), rows.end(), x, [](double v, const Row& r) { return v < r[0]; });
    const Row& high = *above;
    const Row& low = *(above - 1);
    const double f = (x - low[0]) / (high[0] - low[0]);
    return std::clamp(low[field] + f * (high[field] - low[field]), 0.0, 1.0);
}

void FillRamp(const CalTable& table, GammaRamp& ramp)
{
    const double black = table.videoLevels ? kVideoBlack : 0.0;
    const double span = table.videoLevels ? kVideoSpan : 65535.0;
    for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel) {
        auto entries = ramp.Channel(channel);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const double level = CurveAt(table.rows, channel + 1, static_cast<double>(i) / 255.0);
            entries[i] = static_cast<std::uint16_t>(std::lround(black + level * span));
        }
    }
}

// The file's text, at most kMaxFileSize bytes and one more to tell that it goes on.
// False when the file cannot be opened or ends while it is read.
bool ReadHead(const std::string& path, std::string& text)
{
    FileByteSource file;
    if (!file.Open(path.c_str()))
        return false;
    const auto raise = [&] {
        if (const std::optional<int> error = file.ReadError())
            throw CFileException(*error, path);
        return false;
    };
    constexpr std::uint64_t kLimit = kMaxFileSize + 1;
    if (file.Size() != ~std::uint64_t{0}) {
        text.resize(static_cast<std::size_t>(std::min(file.Size(), kLimit)));
        return file.ReadAt(0, text.data(), text.size()) || raise();
    }
    // A size that cannot be found: forward, a byte at a time, until the file ends.
    for (char c = 0; text.size() < kLimit && file.ReadAt(text.size(), &c, 1);)
        text.push_back(c);
    return !file.ReadError() || raise();
}

// A number of 0 to 1 given as numerator / denominator, with ten decimals, rounded
// up: read back and scaled by the denominator it lands on the numerator or a hair
// above, never below, so a reader that truncates gets the same entry as one that
// rounds.
std::string Decimal(std::uint64_t numerator, std::uint64_t denominator)
{
    constexpr std::uint64_t kScale = 10'000'000'000;
    const std::uint64_t scaled = (numerator * kScale + denominator - 1) / denominator;
    char text[32];
    std::snprintf(text, sizeof(text), "%u.%010llu", static_cast<unsigned>(scaled / kScale),
                  static_cast<unsigned long long>(scaled % kScale));
    return text;
}

// Now, in UTC: "2026-12-07T10:31:05Z".
std::string CreatedNow()
{
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto day = floor<days>(now);
    const year_month_day date{day};
    const hh_mm_ss time{now - day};
    char text[32];
    std::snprintf(text, sizeof(text), "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(date.year()),
                  static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                  static_cast<int>(time.hours().count()), static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
    return text;
}

} // namespace

bool LoadCalFile(GammaRamp& ramp, const std::string& path)
{
    std::string text;
    if (!ReadHead(path, text))
        return false;
    std::optional<Refusal> refusal;
    CalTable table;
    if (text.size() > kMaxFileSize) {
        // The line that reaches past the limit.
        const auto lines = std::count(text.begin(), text.begin() + kMaxFileSize, '\n');
        refusal = Refusal{static_cast<int>(lines) + 1, "the file is larger than 1 MiB"};
    } else {
        refusal = CalParser(text).Parse(table);
    }
    if (refusal) {
        LogError("ERROR: calibration file %s, line %d: %s", path.c_str(), refusal->line, refusal->reason.c_str());
        return false;
    }
    FillRamp(table, ramp);
    return true;
}

std::string FormatCalFile(const GammaRamp& ramp, const std::string& created)
{
    std::string text = "CAL    \n\n"
                       "DESCRIPTOR \"Rampwise gamma ramp\"\n"
                       "ORIGINATOR \"Rampwise\"\n"
                       "CREATED \"" + created + "\"\n"
                       "DEVICE_CLASS \"DISPLAY\"\n"
                       "COLOR_REP \"RGB\"\n\n"
                       "NUMBER_OF_FIELDS 4\n"
                       "BEGIN_DATA_FORMAT\n"
                       "RGB_I RGB_R RGB_G RGB_B\n"
                       "END_DATA_FORMAT\n\n"
                       "NUMBER_OF_SETS 256\n"
                       "BEGIN_DATA\n";
    for (std::size_t i = 0; i < GammaRamp::kChannelSize; ++i) {
        text += Decimal(i, GammaRamp::kChannelSize - 1);
        for (std::size_t channel = 0; channel < GammaRamp::kChannelCount; ++channel)
            text += ' ' + Decimal(ramp.Channel(channel)[i], 65535);
        text += '\n';
    }
    return text + "END_DATA\n";
}

bool SaveCalFile(const GammaRamp& ramp, const std::string& path)
{
    const std::string text = FormatCalFile(ramp, CreatedNow());
    return ReplaceFileContent(path, text.data(), text.size());
}
