#include "framework/CommandLineWin32.h"

#include <windows.h>

#include <utility>

namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

const wchar_t* SkipBlanks(const wchar_t* s)
{
    while (IsBlank(*s))
        ++s;
    return s;
}

} // namespace

// The program's name ends at the first blank, or, when it starts with a quote, at the
// next quote; backslashes mean nothing in it. In the arguments that follow:
// - blanks outside quotes separate arguments;
// - backslashes are literal unless a quote follows them: then 2n of them give n and
//   the quote acts as a quote, 2n+1 give n and a literal quote;
// - a run of acting quotes counts on from the state before it (1 inside quotes,
//   0 outside): every third count gives a literal quote, and the run leaves the
//   argument inside quotes when the count ends one past a multiple of three. So a
//   quote opens or closes, and "" inside quotes gives a quote and closes them.
std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine)
{
    std::vector<std::wstring> words;
    const wchar_t* s = commandLine;
    std::wstring name;
    if (*s == L'"') {
        for (++s; *s && *s != L'"'; ++s)
            name += *s;
        if (*s)
            ++s;
    } else {
        for (; *s && !IsBlank(*s); ++s)
            name += *s;
    }
    words.push_back(std::move(name));

    for (s = SkipBlanks(s); *s; s = SkipBlanks(s)) {
        std::wstring word;
        bool quoted = false;
        while (*s && (quoted || !IsBlank(*s))) {
            std::size_t backslashes = 0;
            while (s[backslashes] == L'\\')
                ++backslashes;
            if (s[backslashes] != L'"') {
                // Backslashes without a quote, or one ordinary character.
                const std::size_t length = backslashes ? backslashes : 1;
                word.append(s, length);
                s += length;
                continue;
            }
            word.append(backslashes / 2, L'\\');
            s += backslashes;
            std::size_t quotes = 0;
            while (s[quotes] == L'"')
                ++quotes;
            s += quotes;
            if (backslashes % 2 == 1) {
                word += L'"';
                --quotes;
            }
            const std::size_t count = (quoted ? 1 : 0) + quotes;
            word.append(count / 3, L'"');
            quoted = count % 3 == 1;
        }
        words.push_back(std::move(word));
    }
    return words;
}

std::string NarrowFromWide(const wchar_t* text)
{
    int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string narrow(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), size, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(size - 1));
    return narrow;
}

std::vector<std::string> GetProcessArguments()
{
    const std::vector<std::wstring> words = SplitCommandLine(GetCommandLineW());
    std::vector<std::string> arguments;
    for (std::size_t i = 1; i < words.size(); ++i)
        arguments.push_back(NarrowFromWide(words[i].c_str()));
    return arguments;
}
