#include "toolkit/registry.h"

#include <cstring>
#include <vector>

#include "toolkit/errors.h"
#include "toolkit/texts.h"

using enum TRegDataType;

namespace {

[[noreturn]] void RaiseInvalidType(std::wstring_view name)
{
    throw ERegistryException(Text(TText::ErrorRegistryType, {name}));
}

TRegDataType DataTypeOf(DWORD type)
{
    switch (type) {
    case REG_SZ: return rdString;
    case REG_EXPAND_SZ: return rdExpandString;
    case REG_DWORD: return rdInteger;
    case REG_BINARY: return rdBinary;
    default: return rdUnknown;
    }
}

struct ValueInfo {
    DWORD type = REG_NONE;
    DWORD size = 0;
};

bool QueryInfo(HKEY key, const std::wstring& name, ValueInfo& info)
{
    if (key == nullptr) return false;
    return RegQueryValueExW(key, name.c_str(), nullptr, &info.type, nullptr, &info.size) == ERROR_SUCCESS;
}

// Reads the whole value, growing the buffer if the value grew since it was
// measured. False when the value is missing.
bool QueryData(HKEY key, const std::wstring& name, DWORD& type, std::vector<BYTE>& data)
{
    ValueInfo info;
    if (!QueryInfo(key, name, info)) return false;
    for (;;) {
        data.resize(info.size);
        DWORD size = info.size;
        const LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            return true;
        }
        if (rc != ERROR_MORE_DATA) return false;
        info.size = size > info.size ? size : info.size * 2 + 2;
    }
}

} // namespace

TRegistry::TRegistry(TRegistry&& other) noexcept
    : root_(other.root_), key_(other.key_), access_(other.access_), path_(std::move(other.path_))
{
    other.key_ = nullptr;
    other.path_.clear();
}

TRegistry& TRegistry::operator=(TRegistry&& other) noexcept
{
    if (this != &other) {
        CloseKey();
        root_ = other.root_;
        key_ = other.key_;
        access_ = other.access_;
        path_ = std::move(other.path_);
        other.key_ = nullptr;
        other.path_.clear();
    }
    return *this;
}

void TRegistry::SetRootKey(HKEY root) noexcept
{
    if (root == root_) return;
    CloseKey();
    root_ = root;
}

bool TRegistry::OpenKey(std::wstring_view path, bool canCreate)
{
    return Open(path, canCreate, access_);
}

bool TRegistry::OpenKeyReadOnly(std::wstring_view path)
{
    return Open(path, false, KEY_READ);
}

bool TRegistry::Open(std::wstring_view path, bool canCreate, REGSAM access)
{
    const bool fromRoot = !path.empty() && path.front() == L'\\';
    // The API refuses a leading backslash; the same key is meant.
    while (!path.empty() && path.front() == L'\\') path.remove_prefix(1);
    while (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
    const bool relative = !fromRoot && key_ != nullptr;
    const HKEY base = relative ? key_ : root_;
    const std::wstring subKey(path);

    HKEY opened = nullptr;
    const LONG rc = canCreate
        ? RegCreateKeyExW(base, subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &opened, nullptr)
        : RegOpenKeyExW(base, subKey.c_str(), 0, access, &opened);
    if (rc != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(rc));
        return false;
    }
    std::wstring newPath = relative && !path_.empty() ? path_ + L"\\" + subKey : subKey;
    CloseKey();
    key_ = opened;
    path_ = std::move(newPath);
    return true;
}

void TRegistry::CloseKey() noexcept
{
    if (key_ != nullptr) {
        RegCloseKey(key_);
        key_ = nullptr;
    }
    path_.clear();
}

std::wstring TRegistry::ReadString(std::wstring_view name) const
{
    const std::wstring valueName = std::wstring(name);
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!QueryData(key_, valueName, type, data)) return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseInvalidType(name);
    // Stored strings need not end with a zero (nor have an even size); keep
    // every whole character up to the first zero.
    std::wstring text(data.size() / sizeof(wchar_t), L'\0');
    if (!text.empty()) std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
    const auto end = text.find(L'\0');
    if (end != std::wstring::npos) text.resize(end);
    return text;
}

void TRegistry::WriteString(std::wstring_view name, std::wstring_view value)
{
    const std::wstring text(value);
    WriteData(name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void TRegistry::WriteExpandString(std::wstring_view name, std::wstring_view value)
{
    const std::wstring text(value);
    WriteData(name, REG_EXPAND_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::int32_t TRegistry::ReadInteger(std::wstring_view name) const
{
    const std::wstring valueName = std::wstring(name);
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!QueryData(key_, valueName, type, data))
        throw ERegistryException(Text(TText::ErrorRegistryRead, {name}));
    if (type != REG_DWORD || data.size() != sizeof(std::int32_t)) RaiseInvalidType(name);
    std::int32_t value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return value;
}

void TRegistry::WriteInteger(std::wstring_view name, std::int32_t value)
{
    WriteData(name, REG_DWORD, &value, sizeof value);
}

std::int32_t TRegistry::ReadBinaryData(std::wstring_view name, void* buffer, std::int32_t size) const
{
    const std::wstring valueName = std::wstring(name);
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (!QueryData(key_, valueName, type, data)) return 0;
    const TRegDataType kind = DataTypeOf(type);
    if ((kind != rdBinary && kind != rdUnknown) || size < 0 || data.size() > static_cast<std::size_t>(size))
        RaiseInvalidType(name);
    if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
    return static_cast<std::int32_t>(data.size());
}

void TRegistry::WriteBinaryData(std::wstring_view name, const void* buffer, std::int32_t size)
{
    if (size < 0) throw ERegistryException(Text(TText::ErrorRegistryWrite, {name}));
    WriteData(name, REG_BINARY, buffer, static_cast<DWORD>(size));
}

void TRegistry::WriteMultiString(std::wstring_view name, const void* data, DWORD size)
{
    WriteData(name, REG_MULTI_SZ, data, size);
}

void TRegistry::WriteData(std::wstring_view name, DWORD type, const void* data, DWORD size)
{
    const std::wstring valueName = std::wstring(name);
    if (key_ == nullptr
        || RegSetValueExW(key_, valueName.c_str(), 0, type, static_cast<const BYTE*>(data), size) != ERROR_SUCCESS)
        throw ERegistryException(Text(TText::ErrorRegistryWrite, {name}));
}

bool TRegistry::DeleteValue(std::wstring_view name)
{
    const std::wstring valueName = std::wstring(name);
    return key_ != nullptr && RegDeleteValueW(key_, valueName.c_str()) == ERROR_SUCCESS;
}

bool TRegistry::ValueExists(std::wstring_view name) const
{
    ValueInfo info;
    return QueryInfo(key_, std::wstring(name), info);
}

TRegDataType TRegistry::GetDataType(std::wstring_view name) const
{
    ValueInfo info;
    if (!QueryInfo(key_, std::wstring(name), info)) return rdUnknown;
    return DataTypeOf(info.type);
}
