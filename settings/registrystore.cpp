#include "settings/registrystore.h"

#include <windows.h>

#include <algorithm>

#include "settings/storedsettings.h"
#include "toolkit/handles.h"
#include "toolkit/oserror.h"
#include "toolkit/registry.h"

namespace {

// The value's type and bytes, read whole when it is at most maxBytes;
// nothing when the key or value is missing or the value is larger.
struct TRawValue {
    DWORD Type = REG_NONE;
    std::vector<std::uint8_t> Data;
};

std::optional<TRawValue> ReadRaw(std::wstring_view name, DWORD maxBytes)
{
    HKEY key = nullptr;
    const std::wstring path(kUserSettingsKey), valueName(name);
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return std::nullopt;
    TRawValue raw;
    // One byte more than allowed, so that a larger value reads as too large
    // instead of failing for the buffer.
    raw.Data.resize(maxBytes + 1);
    DWORD size = maxBytes + 1;
    const LONG result = RegQueryValueExW(key, valueName.c_str(), nullptr, &raw.Type, raw.Data.data(), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || size > maxBytes) return std::nullopt;
    raw.Data.resize(size);
    return raw;
}

} // namespace

std::optional<std::uint32_t> TRegistryStore::Number(std::wstring_view name) const
{
    try {
        const auto raw = ReadRaw(name, 8);
        if (!raw) return std::nullopt;
        return StoredDword(raw->Type, raw->Data.data(), raw->Data.size());
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::wstring> TRegistryStore::Text(std::wstring_view name, std::size_t maxChars) const
{
    try {
        // With or without its ending zero.
        const auto raw = ReadRaw(name, static_cast<DWORD>((maxChars + 1) * sizeof(wchar_t)));
        if (!raw || (raw->Type != REG_SZ && raw->Type != REG_EXPAND_SZ) || raw->Data.size() % sizeof(wchar_t) != 0)
            return std::nullopt;
        std::wstring text(raw->Data.size() / sizeof(wchar_t), L'\0');
        std::copy(raw->Data.begin(), raw->Data.end(), reinterpret_cast<std::uint8_t*>(text.data()));
        while (!text.empty() && text.back() == L'\0') text.pop_back();
        // A zero inside is no text this program wrote.
        if (text.size() > maxChars || text.find(L'\0') != std::wstring::npos) return std::nullopt;
        return text;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::vector<std::wstring>> TRegistryStore::Names(std::wstring_view name) const
{
    try {
        // A value far larger than any list of ours is not one: never read whole.
        const auto raw = ReadRaw(name, (kMaxTrimExclude + 1) * 261 * sizeof(wchar_t));
        if (!raw) return std::nullopt;
        return NamesFromMultiString(raw->Type, raw->Data.data(), raw->Data.size());
    } catch (...) {
        return std::nullopt;
    }
}

void TRegistryStore::Write(std::initializer_list<TStoredWrite> values)
{
    TRegistry reg(KEY_SET_VALUE);
    reg.SetRootKey(HKEY_CURRENT_USER);
    if (!reg.OpenKey(L"\\" + std::wstring(kUserSettingsKey), true)) RaiseLastOSError();
    for (const TStoredWrite& value : values) {
        if (const auto* number = std::get_if<std::uint32_t>(&value.Value)) {
            reg.WriteInteger(value.Name, static_cast<std::int32_t>(*number));
        } else if (const auto* text = std::get_if<std::wstring>(&value.Value)) {
            reg.WriteString(value.Name, *text);
        } else {
            const std::vector<std::uint8_t> bytes = NamesToMultiString(std::get<std::vector<std::wstring>>(value.Value));
            reg.WriteMultiString(value.Name, bytes.data(), static_cast<DWORD>(bytes.size()));
        }
    }
}
