// Feeds arbitrary bytes as a portable copy's settings file: every kept value
// reads as a value within its rule or as nothing, and what the program
// writes back reads back as written while every other value of the file
// stays as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "settings/inifile.h"
#include "settings/storedsettings.h"

namespace {

constexpr const wchar_t* kNames[] = {L"RamToFree",     L"AlarmLevel",  L"AutoOptimize", L"RefreshPeriod",
                                     L"TrayShowsFree", L"OptimizeHotkey", L"MemoryAreas", L"IntervalMinutes",
                                     L"TrimExclude",   L"Language",    L"Theme",        L"loadwithwin",
                                     L"Unknown"};

// A stand-in for the system's ANSI code page: each byte the character of
// its number, as Latin-1 reads it.
std::wstring Latin1(std::string_view bytes)
{
    std::wstring text;
    for (const char c : bytes) text.push_back(static_cast<unsigned char>(c));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TIniDocument document = TIniDocument::FromBytes(bytes, Latin1);
    for (const wchar_t* name : kNames) {
        const auto value = document.Value(name);
        if (!value) continue;
        // A number is its digits alone: without leading zeros, as written.
        const auto number = DecimalNumberFromText(*value);
        if (number && value->front() != L'0' && std::to_wstring(*number) != *value) std::abort();
        const std::vector<std::wstring> names = NamesFromText(*value);
        if (names.size() > kMaxTrimExclude) std::abort();
        if (NamesFromText(NamesToText(names)) != names) std::abort();
    }
    // The program writes its numbers and its list; the rest must not move.
    document.SetValue(L"RamToFree", std::to_wstring(size));
    document.SetValue(L"TrimExclude", L"a.exe; b.exe");
    const TIniDocument again = TIniDocument::FromBytes(document.Bytes());
    if (again.Value(L"RamToFree") != std::to_wstring(size)) std::abort();
    if (again.Value(L"TrimExclude") != L"a.exe; b.exe") std::abort();
    // Read back through UTF-8 as well: a character read in the ANSI code page
    // is the same character both times.
    const TIniDocument unchanged = TIniDocument::FromBytes(TIniDocument::FromBytes(bytes, Latin1).Bytes());
    for (const std::wstring_view name : kNames) {
        if (name == L"RamToFree" || name == L"TrimExclude") continue;
        if (again.Value(name) != unchanged.Value(name)) std::abort();
    }
    return 0;
}
