// The language the user chose in the tray menu, kept as the REG_SZ
// "Language" under HKEY_CURRENT_USER\Software\Quenfel: a BCP 47 tag, empty
// for Windows' own display language.
#pragma once

#include <string>
#include <string_view>

inline constexpr std::wstring_view kLanguageValue = L"Language";

// The stored tag. Never raises: nothing stored, a value that is not a
// REG_SZ, or one too long to be a tag all read as empty.
std::wstring ReadLanguageSetting();

// Keeps tag (empty: Windows' own). Raises EOSError when the key cannot be
// opened for writing and ERegistryException when the write is refused.
void WriteLanguageSetting(std::wstring_view tag);
