// The registry object: one open key under a chosen root, released on every
// path. Reads of a key that is not open find nothing; writes to it fail.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

enum class TRegDataType : std::uint8_t { rdUnknown = 0, rdString = 1, rdExpandString = 2, rdInteger = 3, rdBinary = 4 };

class TRegistry {
public:
    explicit TRegistry(REGSAM access = KEY_ALL_ACCESS) noexcept : access_(access) {}
    ~TRegistry() { CloseKey(); }
    TRegistry(TRegistry&& other) noexcept;
    TRegistry& operator=(TRegistry&& other) noexcept;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    HKEY RootKey() const noexcept { return root_; }
    // Changing the root closes the key that is open.
    void SetRootKey(HKEY root) noexcept;
    REGSAM Access() const noexcept { return access_; }
    // Applies to keys opened afterwards.
    void SetAccess(REGSAM access) noexcept { access_ = access; }
    HKEY CurrentKey() const noexcept { return key_; }
    const std::wstring& CurrentPath() const noexcept { return path_; }

    // A path with a leading backslash is taken from the root; one without is
    // taken from the key that is open, or from the root when none is. Returns
    // false when the key cannot be opened (or created); GetLastError() then
    // holds the system's reason and the key that was open stays open.
    bool OpenKey(std::wstring_view path, bool canCreate);
    bool OpenKeyReadOnly(std::wstring_view path);
    void CloseKey() noexcept;

    // A missing value reads as empty text; a value that is not a string raises
    // ERegistryException.
    std::wstring ReadString(std::wstring_view name) const;
    void WriteString(std::wstring_view name, std::wstring_view value);
    void WriteExpandString(std::wstring_view name, std::wstring_view value);
    // A missing value or one that is not a 32-bit integer raises ERegistryException.
    std::int32_t ReadInteger(std::wstring_view name) const;
    void WriteInteger(std::wstring_view name, std::int32_t value);
    // Copies the value into buffer and returns the number of bytes copied; 0 for
    // a missing value. A value of string or integer type, or one larger than
    // the buffer, raises ERegistryException.
    std::int32_t ReadBinaryData(std::wstring_view name, void* buffer, std::int32_t size) const;
    void WriteBinaryData(std::wstring_view name, const void* buffer, std::int32_t size);
    // A list of strings laid out as REG_MULTI_SZ keeps it: each ended by a
    // zero, the list by one more.
    void WriteMultiString(std::wstring_view name, const void* data, DWORD size);

    bool DeleteValue(std::wstring_view name);
    bool ValueExists(std::wstring_view name) const;
    // rdUnknown for a missing value as well as for types without a name here.
    TRegDataType GetDataType(std::wstring_view name) const;

private:
    bool Open(std::wstring_view path, bool canCreate, REGSAM access);
    void WriteData(std::wstring_view name, DWORD type, const void* data, DWORD size);

    HKEY root_ = HKEY_CURRENT_USER; // predefined handle, never closed
    HKEY key_ = nullptr;            // owned
    REGSAM access_;
    std::wstring path_;
};
