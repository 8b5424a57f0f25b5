// Feeds arbitrary registry types and bytes for all four kept settings, and an
// arbitrary slider range: whatever is stored, every setting must come out
// within its bounds or equal to its default.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "settings/storedsettings.h"
#include "toolkit/hotkeycode.h"

namespace {

// Takes the next n bytes of the input, or fewer at its end.
struct TReader {
    const std::uint8_t* data;
    std::size_t size;
    std::uint32_t Number()
    {
        std::uint32_t v = 0;
        const std::size_t n = size < 4 ? size : 4;
        std::memcpy(&v, data, n);
        data += n;
        size -= n;
        return v;
    }
    std::optional<std::uint32_t> Stored()
    {
        const std::uint32_t type = Number() % 12;
        const std::size_t length = Number() % 9;
        const std::size_t n = length < size ? length : size;
        const std::optional<std::uint32_t> v = StoredDword(type, data, n);
        data += n;
        size -= n;
        return v;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    TReader in{data, size};
    const auto minimum = static_cast<std::int32_t>(in.Number() % 4);
    const auto maximum = static_cast<std::int32_t>(in.Number() & 0x7FFFFFFF);
    TStoredSettings stored;
    stored.RamToFree = in.Stored();
    stored.AlarmLevel = in.Stored();
    stored.AutoOptimize = in.Stored();
    stored.RefreshPeriod = in.Stored();
    stored.OptimizeHotkey = in.Stored();
    stored.MemoryAreas = in.Stored();
    stored.IntervalMinutes = in.Stored();
    // The rest is the list of names never trimmed, as any registry type.
    const std::uint32_t listType = in.Number() % 12;
    const auto names = NamesFromMultiString(listType, in.data, in.size);
    if (names) {
        // What was read is written back the same, and reads the same again.
        const std::vector<std::uint8_t> written = NamesToMultiString(*names);
        if (NamesFromMultiString(kStoredMultiStringType, written.data(), written.size()) != names) std::abort();
        if (names->size() > kMaxTrimExclude) std::abort();
    }
    stored.TrimExclude = names;
    TUserSettings defaults;
    defaults.RamToFree = -5;  // outside every range, so a fallback is told apart
    defaults.AlarmLevel = -6;
    defaults.RefreshPeriod = -7;
    const TUserSettings s = SettingsFromStore(stored, defaults, minimum, maximum);

    const bool ramInRange = s.RamToFree >= minimum && (s.RamToFree <= maximum || s.RamToFree == minimum);
    if (s.RamToFree != defaults.RamToFree && !ramInRange) std::abort();
    if (!stored.RamToFree && s.RamToFree != defaults.RamToFree) std::abort();
    if (s.AlarmLevel != -6 && (s.AlarmLevel < 0 || static_cast<std::uint32_t>(s.AlarmLevel) > kMaxAlarmLevel))
        std::abort();
    if (s.RefreshPeriod != -7
        && (s.RefreshPeriod < static_cast<std::int32_t>(kMinRefreshPeriod)
            || s.RefreshPeriod > static_cast<std::int32_t>(kMaxRefreshPeriod)))
        std::abort();
    if (s.AutoOptimize && stored.AutoOptimize != 1u) std::abort();
    // A hotkey is the stored one only when the control could have given it.
    if (s.OptimizeHotkey != defaults.OptimizeHotkey
        && (!IsUsableHotkey(s.OptimizeHotkey) || stored.OptimizeHotkey != s.OptimizeHotkey))
        std::abort();
    if (s.MemoryAreas == 0 || (s.MemoryAreas & ~kStoredAreasMask) != 0) std::abort();
    if (s.IntervalMinutes != 0 && (s.IntervalMinutes < kMinIntervalMinutes || s.IntervalMinutes > kMaxIntervalMinutes))
        std::abort();
    return 0;
}
