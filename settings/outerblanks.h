// The spaces and tabs around a text, which neither a settings file's lines
// nor a typed list of names mean. Platform-free.
#pragma once

#include <string_view>

inline std::wstring_view WithoutOuterBlanks(std::wstring_view text)
{
    constexpr std::wstring_view kBlanks = L" \t";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::wstring_view::npos) return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}
