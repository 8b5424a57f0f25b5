#include "settings/storedsettings.h"

#include <algorithm>

#include "settings/outerblanks.h"
#include "toolkit/hotkeycode.h"

namespace {

std::optional<std::int32_t> InRange(std::optional<std::uint32_t> stored, std::uint32_t minimum, std::uint32_t maximum)
{
    if (!stored || *stored < minimum || *stored > maximum) return std::nullopt;
    return static_cast<std::int32_t>(*stored);
}

constexpr std::size_t kMaxImageName = 260;

// A file name alone: no folder, no drive, no character Windows refuses in one.
bool IsImageName(std::wstring_view name)
{
    if (name.empty() || name.size() > kMaxImageName || name.front() == L' ' || name.back() == L' ') return false;
    for (wchar_t c : name)
        if (c < 0x20 || std::wstring_view(L"\\/:*?\"<>|;,").find(c) != std::wstring_view::npos) return false;
    return true;
}

// One name as typed or stored: the spaces around it dropped, and a path,
// quoted as Explorer's "Copy as path" gives it or not, cut to its file name.
// Empty when no image name is left.
std::wstring_view UsableName(std::wstring_view name)
{
    name = WithoutOuterBlanks(name);
    const std::size_t folder = name.find_last_of(L"\\/:");
    if (folder != std::wstring_view::npos) name = name.substr(folder + 1);
    while (!name.empty() && name.front() == L'"') name.remove_prefix(1);
    while (!name.empty() && name.back() == L'"') name.remove_suffix(1);
    name = WithoutOuterBlanks(name);
    return IsImageName(name) ? name : std::wstring_view{};
}

} // namespace

std::optional<std::vector<std::wstring>> NamesFromMultiString(std::uint32_t type, const std::uint8_t* data,
                                                             std::size_t size)
{
    if (type != kStoredMultiStringType || size % 2 != 0 || (data == nullptr && size != 0)) return std::nullopt;
    std::vector<std::wstring> names;
    std::wstring name;
    bool ended = false;
    for (std::size_t i = 0; i < size; i += 2) {
        const wchar_t c = static_cast<wchar_t>(data[i] | data[i + 1] << 8);
        if (c != 0) {
            if (ended) return std::nullopt;  // text after the list's end
            name += c;
            continue;
        }
        if (name.empty()) {
            ended = true;  // the list's closing zero, or the only one of an empty list
            continue;
        }
        const std::wstring_view usable = UsableName(name);
        if (!usable.empty() && names.size() < kMaxTrimExclude) names.emplace_back(usable);
        name.clear();
    }
    // The list's own closing zero may be missing, as Windows allows; a name's
    // may not.
    if (!name.empty()) return std::nullopt;
    return names;
}

std::optional<std::uint32_t> DecimalNumberFromText(std::wstring_view text)
{
    // "4294967295" is the most; more digits, or none, are no number of ours.
    if (text.empty() || text.size() > 10) return std::nullopt;
    std::uint64_t value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    if (value > 0xFFFF'FFFFu) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

std::vector<std::uint8_t> NamesToMultiString(const std::vector<std::wstring>& names)
{
    std::vector<std::uint8_t> bytes;
    auto put = [&bytes](wchar_t c) {
        bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>((c >> 8) & 0xFF));
    };
    for (const std::wstring& name : names) {
        for (wchar_t c : name) put(c);
        put(0);
    }
    put(0);
    if (names.empty()) put(0);  // two zeros, as Windows writes an empty list
    return bytes;
}

std::vector<std::wstring> NamesFromText(std::wstring_view text)
{
    std::vector<std::wstring> names;
    while (!text.empty() && names.size() < kMaxTrimExclude) {
        const std::size_t end = text.find_first_of(L";,");
        const std::wstring_view name = UsableName(text.substr(0, end));
        if (!name.empty()) names.emplace_back(name);
        if (end == std::wstring_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return names;
}

std::wstring NamesToText(const std::vector<std::wstring>& names)
{
    std::wstring text;
    for (const std::wstring& name : names) {
        if (!text.empty()) text += L"; ";
        text += name;
    }
    return text;
}

std::uint32_t IntervalFromShown(std::int32_t minutes) noexcept
{
    if (minutes <= 0) return 0;
    return std::clamp(static_cast<std::uint32_t>(minutes), kMinIntervalMinutes, kMaxIntervalMinutes);
}

std::optional<std::uint32_t> StoredDword(std::uint32_t type, const std::uint8_t* data, std::size_t size)
{
    if (type != kStoredDwordType || size != 4 || data == nullptr) return std::nullopt;
    return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8
           | static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

std::int32_t RamToFreeFromStore(std::optional<std::uint32_t> stored, std::int32_t fallback, std::int32_t minimum,
                                std::int32_t maximum)
{
    if (!stored) return fallback;
    // A DWORD is unsigned: a value the program wrote from a negative slider
    // position cannot exist, so a huge one is just more than the range holds.
    // Written without std::clamp: a machine too small for any block gives a
    // maximum below the minimum, and the minimum wins as on the slider.
    const std::int64_t value = std::max<std::int64_t>(std::min<std::int64_t>(*stored, maximum), minimum);
    return static_cast<std::int32_t>(value);
}

TUserSettings SettingsFromStore(const TStoredSettings& stored, const TUserSettings& defaults, std::int32_t ramMinimum,
                                std::int32_t ramMaximum)
{
    TUserSettings s;
    s.RamToFree = RamToFreeFromStore(stored.RamToFree, defaults.RamToFree, ramMinimum, ramMaximum);
    s.AlarmLevel = InRange(stored.AlarmLevel, 0, kMaxAlarmLevel).value_or(defaults.AlarmLevel);
    const auto autoOptimize = InRange(stored.AutoOptimize, 0, 1);
    s.AutoOptimize = autoOptimize ? *autoOptimize == 1 : defaults.AutoOptimize;
    s.RefreshPeriod = InRange(stored.RefreshPeriod, kMinRefreshPeriod, kMaxRefreshPeriod).value_or(defaults.RefreshPeriod);
    const auto trayShowsFree = InRange(stored.TrayShowsFree, 0, 1);
    s.TrayShowsFree = trayShowsFree ? *trayShowsFree == 1 : defaults.TrayShowsFree;
    s.OptimizeHotkey = stored.OptimizeHotkey && IsUsableHotkey(*stored.OptimizeHotkey)
                           ? static_cast<std::uint16_t>(*stored.OptimizeHotkey)
                           : defaults.OptimizeHotkey;
    // No area at all, or one this program does not know, was not written by it.
    s.MemoryAreas = stored.MemoryAreas && *stored.MemoryAreas != 0 && (*stored.MemoryAreas & ~kStoredAreasMask) == 0
                        ? *stored.MemoryAreas
                        : defaults.MemoryAreas;
    const bool intervalOff = stored.IntervalMinutes == 0u;
    s.IntervalMinutes = intervalOff ? 0 : InRange(stored.IntervalMinutes, kMinIntervalMinutes, kMaxIntervalMinutes)
                                              .value_or(static_cast<std::int32_t>(defaults.IntervalMinutes));
    s.TrimExclude = stored.TrimExclude.value_or(defaults.TrimExclude);
    return s;
}
