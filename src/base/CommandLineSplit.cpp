#include "base/CommandLineSplit.h"

#include <utility>

namespace {

template <class Char>
bool IsBlank(Char c)
{
    return c == Char(' ') || c == Char('\t');
}

// The program's name ends at the first blank, or, when it starts with a quote, at the
// next quote; backslashes mean nothing in it. In the arguments that follow:
// - blanks outside quotes separate arguments;
// - backslashes are literal unless a quote follows them: then 2n of them give n and
//   the quote acts as a quote, 2n+1 give n and a literal quote;
// - a run of acting quotes counts on from the state before it (1 inside quotes,
//   0 outside): every third count gives a literal quote, and the run leaves the
//   argument inside quotes when the count ends one past a multiple of three. So a
//   quote opens or closes, and "" inside quotes gives a quote and closes them.
template <class Char>
std::vector<CommandLineWord<Char>> SplitWords(std::basic_string_view<Char> line)
{
    constexpr Char kQuote = Char('"'), kBackslash = Char('\\');
    const std::size_t end = line.size();
    // The character at i, or none (0) past the end.
    const auto at = [&](std::size_t i) { return i < end ? line[i] : Char(0); };
    std::vector<CommandLineWord<Char>> words;

    CommandLineWord<Char> name;
    std::size_t i = 0;
    if (at(0) == kQuote) {
        for (i = 1; i < end && line[i] != kQuote; ++i)
            name.text += line[i];
        i = i < end ? i + 1 : i;
    } else {
        for (; i < end && !IsBlank(line[i]); ++i)
            name.text += line[i];
    }
    name.length = i;
    words.push_back(std::move(name));

    for (;;) {
        while (i < end && IsBlank(line[i]))
            ++i;
        if (i == end)
            break;
        CommandLineWord<Char> word;
        word.start = i;
        bool quoted = false;
        while (i < end && (quoted || !IsBlank(line[i]))) {
            std::size_t backslashes = 0;
            while (at(i + backslashes) == kBackslash)
                ++backslashes;
            if (at(i + backslashes) != kQuote) {
                // Backslashes without a quote, or one ordinary character.
                const std::size_t length = backslashes ? backslashes : 1;
                word.text.append(line.substr(i, length));
                i += length;
                continue;
            }
            word.text.append(backslashes / 2, kBackslash);
            i += backslashes;
            std::size_t quotes = 0;
            while (at(i + quotes) == kQuote)
                ++quotes;
            i += quotes;
            if (backslashes % 2 == 1) {
                word.text += kQuote;
                --quotes;
            }
            const std::size_t count = (quoted ? 1 : 0) + quotes;
            word.text.append(count / 3, kQuote);
            quoted = count % 3 == 1;
        }
        word.length = i - word.start;
        words.push_back(std::move(word));
    }
    return words;
}

template <class Char>
std::vector<std::basic_string<Char>> TextsOf(std::vector<CommandLineWord<Char>> words)
{
    std::vector<std::basic_string<Char>> texts;
    for (CommandLineWord<Char>& word : words)
        texts.push_back(std::move(word.text));
    return texts;
}

} // namespace

std::vector<CommandLineWord<char>> SplitCommandLineWords(std::string_view commandLine)
{
    return SplitWords(commandLine);
}

std::vector<CommandLineWord<wchar_t>> SplitCommandLineWords(std::wstring_view commandLine)
{
    return SplitWords(commandLine);
}

std::vector<std::string> SplitCommandLine(std::string_view commandLine)
{
    return TextsOf(SplitWords(commandLine));
}

std::vector<std::wstring> SplitCommandLine(std::wstring_view commandLine)
{
    return TextsOf(SplitWords(commandLine));
}
