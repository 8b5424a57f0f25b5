// Where every kept value lives: the registry, under
// HKEY_CURRENT_USER\Software\Quenfel, for an installed copy, or the file
// Quenfel.ini beside the program for a portable one. Both hold the same
// names. A value's rule (its type, range and fallback) stays with the value;
// the store only reads what is there and writes what it is given.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

inline constexpr std::wstring_view kUserSettingsKey = L"Software\\Quenfel";
inline constexpr std::wstring_view kPortableSettingsFile = L"Quenfel.ini";

using TStoredValue = std::variant<std::uint32_t, std::wstring, std::vector<std::wstring>>;

struct TStoredWrite {
    std::wstring_view Name;
    TStoredValue Value;
};

class TSettingsStore {
public:
    virtual ~TSettingsStore() = default;

    // A number: a REG_DWORD of four bytes, or in the file decimal digits
    // that fit 32 bits. Nothing when missing or of another form. Never raises.
    virtual std::optional<std::uint32_t> Number(std::wstring_view name) const = 0;
    // A text (REG_SZ or REG_EXPAND_SZ) of at most maxChars characters.
    virtual std::optional<std::wstring> Text(std::wstring_view name, std::size_t maxChars) const = 0;
    // Image names (REG_MULTI_SZ; in the file separated by ";").
    virtual std::optional<std::vector<std::wstring>> Names(std::wstring_view name) const = 0;

    // Writes the values together. The registry raises EOSError when its key
    // cannot be opened and ERegistryException when a write is refused. The
    // file never raises: values it cannot keep stay in memory, read back
    // until the program ends, and OnNotKept is called the first time.
    virtual void Write(std::initializer_list<TStoredWrite> values) = 0;

    // A portable copy keeps everything in its own folder.
    virtual bool Portable() const noexcept = 0;
    // False once the store knows that what is written is not kept.
    virtual bool Keeps() const noexcept = 0;
    // The folder of the run history; empty: the user's own.
    virtual std::wstring HistoryFolder() const = 0;

    std::function<void()> OnNotKept;
};

// The store in force: the registry unless UsePortableStoreIfPresent found a
// settings file.
TSettingsStore& SettingsStore();

// At the start, before any value is read: a file named Quenfel.ini in
// programFolder makes this copy portable. True when it did.
bool UsePortableStoreIfPresent(const std::wstring& programFolder);

// The store from now on (a test's); nothing puts the registry back.
void UseSettingsStore(std::unique_ptr<TSettingsStore> store);
void UseRegistryStore();
