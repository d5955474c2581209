#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

// Conversions between UTF-16 and the ANSI code page, which is UTF-8 for the program
// (its manifest asks for it) from Windows 10 1903 on and a legacy page before. codePage
// exists for tests, to try a legacy page on any system.

// A character that the code page lacks becomes a look-alike or the default character;
// "" when nothing converts.
std::string AnsiFromWide(std::wstring_view text, UINT codePage = CP_ACP);
// The text only when every character converts exactly (no look-alike, no default
// character, no lone surrogate), else nullopt.
std::optional<std::string> ExactAnsiFromWide(std::wstring_view text, UINT codePage = CP_ACP);

// A byte sequence that is no character becomes U+FFFD.
std::wstring WideFromAnsi(std::string_view text, UINT codePage = CP_ACP);
// The text only when every byte sequence is a character of the code page, else nullopt.
std::optional<std::wstring> ExactWideFromAnsi(std::string_view text, UINT codePage = CP_ACP);
