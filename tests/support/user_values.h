// Raw values under a current-user key, written and read past the program's
// own routines, so that a test can plant any type or size the registry takes.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace testsupport {

inline void SetUserRaw(const wchar_t* key, const wchar_t* name, DWORD type, const std::vector<BYTE>& bytes)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name, type, bytes.data(), static_cast<DWORD>(bytes.size()));
}

inline void SetUserDword(const wchar_t* key, const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value);
}

// Nothing when the value is missing or is not a REG_DWORD.
inline std::optional<DWORD> ReadUserDword(const wchar_t* key, const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

} // namespace testsupport
