#include "base/TextWin32.h"

namespace {

int Length(std::size_t size)
{
    return static_cast<int>(size);
}

// The two conversion calls share their shape: ask the size, then convert. nullopt
// when the call refuses the text, or (exact) had to put in a default character.
std::optional<std::string> ToAnsi(std::wstring_view text, UINT codePage, DWORD flags, bool exact)
{
    if (text.empty())
        return std::string();
    BOOL usedDefault = FALSE;
    // UTF-8 holds every valid character: it takes no default character and refuses
    // the question whether one was used.
    BOOL* usedDefaultOut = exact && codePage != CP_UTF8 ? &usedDefault : nullptr;
    const int size = WideCharToMultiByte(codePage, flags, text.data(), Length(text.size()), nullptr, 0, nullptr,
                                         usedDefaultOut);
    if (size <= 0 || usedDefault)
        return std::nullopt;
    std::string narrow(static_cast<std::size_t>(size), '\0');
    if (WideCharToMultiByte(codePage, flags, text.data(), Length(text.size()), narrow.data(), size, nullptr,
                            usedDefaultOut) != size ||
        usedDefault)
        return std::nullopt;
    return narrow;
}

std::optional<std::wstring> ToWide(std::string_view text, UINT codePage, DWORD flags)
{
    if (text.empty())
        return std::wstring();
    const int size = MultiByteToWideChar(codePage, flags, text.data(), Length(text.size()), nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::wstring wide(static_cast<std::size_t>(size), L'\0');
    if (MultiByteToWideChar(codePage, flags, text.data(), Length(text.size()), wide.data(), size) != size)
        return std::nullopt;
    return wide;
}

} // namespace

std::string AnsiFromWide(std::wstring_view text, UINT codePage)
{
    return ToAnsi(text, codePage, 0, false).value_or(std::string());
}

std::optional<std::string> ExactAnsiFromWide(std::wstring_view text, UINT codePage)
{
    // A legacy page is asked not to choose look-alikes; UTF-8 takes only the flag that
    // refuses a lone surrogate.
    const UINT page = codePage == CP_ACP ? GetACP() : codePage;
    return ToAnsi(text, page, page == CP_UTF8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS, true);
}

std::wstring WideFromAnsi(std::string_view text, UINT codePage)
{
    return ToWide(text, codePage, 0).value_or(std::wstring());
}

std::optional<std::wstring> ExactWideFromAnsi(std::string_view text, UINT codePage)
{
    return ToWide(text, codePage, MB_ERR_INVALID_CHARS);
}
