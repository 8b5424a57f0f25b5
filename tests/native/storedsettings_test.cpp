// What the registry holds for a kept setting, turned into the value the window
// uses: only a four-byte REG_DWORD counts, each setting falls back to its own
// default, and the amount to free is held to the slider's range.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "settings/storedsettings.h"
#include "toolkit/errors.h"

namespace {

constexpr std::uint32_t kRegSz = 1, kRegBinary = 3, kRegDword = 4, kRegDwordBigEndian = 5, kRegQword = 11;

// The UTF-16LE bytes of a literal, its inner zeros included and its own
// closing one not.
template <std::size_t N>
std::vector<std::uint8_t> bytes(const char16_t (&text)[N])
{
    std::vector<std::uint8_t> b;
    for (std::size_t i = 0; i + 1 < N; ++i) {
        b.push_back(static_cast<std::uint8_t>(text[i] & 0xFF));
        b.push_back(static_cast<std::uint8_t>(text[i] >> 8));
    }
    return b;
}

TUserSettings Defaults()
{
    TUserSettings d;
    d.RamToFree = 64;
    d.AlarmLevel = 0;
    d.AutoOptimize = false;
    d.RefreshPeriod = 1;
    d.TrayShowsFree = false;  // unlike the window's, so that a fallback shows
    d.OptimizeHotkey = 0x0641;  // Ctrl+Alt+A, unlike the window's
    d.MemoryAreas = 2;          // unlike the window's
    d.IntervalMinutes = 0;
    return d;
}

} // namespace

TEST(StoredDword, OnlyAFourByteDwordHoldsANumber)
{
    const struct {
        const char* what;
        std::uint32_t type;
        std::vector<std::uint8_t> bytes;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {"dword", kRegDword, {0x2C, 0x01, 0x00, 0x00}, 300u},
        {"little-endian order", kRegDword, {0x01, 0x02, 0x03, 0x04}, 0x04030201u},
        {"all bits", kRegDword, {0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFFu},
        {"too short", kRegDword, {0x05, 0x00}, std::nullopt},
        {"too long", kRegDword, {0x05, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
        {"empty", kRegDword, {}, std::nullopt},
        {"text", kRegSz, {'5', 0, 0, 0}, std::nullopt},
        {"binary of four bytes", kRegBinary, {5, 0, 0, 0}, std::nullopt},
        {"big-endian dword", kRegDwordBigEndian, {0, 0, 0, 5}, std::nullopt},
        {"qword", kRegQword, {5, 0, 0, 0, 0, 0, 0, 0}, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(StoredDword(c.type, c.bytes.data(), c.bytes.size()), c.expected) << c.what;
    EXPECT_EQ(StoredDword(kRegDword, nullptr, 4), std::nullopt);

    // The same numbers as a portable copy's settings file holds them.
    const struct {
        const wchar_t* text;
        std::optional<std::uint32_t> expected;
    } texts[] = {
        {L"300", 300u},          {L"0", 0u},
        {L"007", 7u},            {L"4294967295", 0xFFFFFFFFu},
        {L"4294967296", std::nullopt}, {L"99999999999", std::nullopt},
        {L"-1", std::nullopt},   {L"+5", std::nullopt},
        {L"", std::nullopt},     {L"5 MB", std::nullopt},
        {L"0x10", std::nullopt}, {L"\u0665", std::nullopt},  // an Arabic-Indic five
    };
    for (const auto& t : texts) EXPECT_EQ(DecimalNumberFromText(t.text), t.expected) << ToUtf8(t.text);
}

TEST(SettingsFromStore, NothingStoredKeepsEveryDefault)
{
    const TUserSettings s = SettingsFromStore({}, Defaults(), 1, 128);
    EXPECT_EQ(s.RamToFree, 64);
    EXPECT_EQ(s.AlarmLevel, 0);
    EXPECT_FALSE(s.AutoOptimize);
    EXPECT_EQ(s.RefreshPeriod, 1);
    EXPECT_FALSE(s.TrayShowsFree);
    EXPECT_EQ(s.OptimizeHotkey, 0x0641);
}

TEST(SettingsFromStore, EachSettingFallsBackOnItsOwn)
{
    // The other three settings hold valid values, so a fallback of one
    // cannot hide behind another's.
    TStoredSettings valid;
    valid.RamToFree = 100;
    valid.AlarmLevel = 500;
    valid.AutoOptimize = 1;
    valid.RefreshPeriod = 5;
    valid.TrayShowsFree = 1;
    valid.OptimizeHotkey = kDefaultOptimizeHotkey;
    valid.MemoryAreas = 3;
    valid.IntervalMinutes = 30;
    const TUserSettings good = SettingsFromStore(valid, Defaults(), 1, 128);
    EXPECT_EQ(good.RamToFree, 100);
    EXPECT_EQ(good.AlarmLevel, 500);
    EXPECT_TRUE(good.AutoOptimize);
    EXPECT_EQ(good.RefreshPeriod, 5);

    const struct {
        const char* what;
        std::optional<std::uint32_t> TStoredSettings::*field;
        std::optional<std::uint32_t> stored;
        TUserSettings expected;
    } cases[] = {
        {"alarm missing", &TStoredSettings::AlarmLevel, std::nullopt, {100, 0, true, 5}},
        {"alarm at its top", &TStoredSettings::AlarmLevel, kMaxAlarmLevel, {100, 1'048'576, true, 5}},
        {"alarm above its top", &TStoredSettings::AlarmLevel, kMaxAlarmLevel + 1, {100, 0, true, 5}},
        {"alarm negative when signed", &TStoredSettings::AlarmLevel, 0xFFFFFFFFu, {100, 0, true, 5}},
        {"alarm zero", &TStoredSettings::AlarmLevel, 0u, {100, 0, true, 5}},
        {"auto off", &TStoredSettings::AutoOptimize, 0u, {100, 500, false, 5}},
        {"auto two", &TStoredSettings::AutoOptimize, 2u, {100, 500, false, 5}},
        {"auto missing", &TStoredSettings::AutoOptimize, std::nullopt, {100, 500, false, 5}},
        {"refresh zero", &TStoredSettings::RefreshPeriod, 0u, {100, 500, true, 1}},
        {"refresh an hour", &TStoredSettings::RefreshPeriod, 3600u, {100, 500, true, 3600}},
        {"refresh above an hour", &TStoredSettings::RefreshPeriod, 3601u, {100, 500, true, 1}},
        {"refresh negative when signed", &TStoredSettings::RefreshPeriod, 0xFFFFFFFDu, {100, 500, true, 1}},
        {"ram missing", &TStoredSettings::RamToFree, std::nullopt, {64, 500, true, 5}},
        {"ram below the slider", &TStoredSettings::RamToFree, 0u, {1, 500, true, 5}},
        {"ram above the slider", &TStoredSettings::RamToFree, 129u, {128, 500, true, 5}},
        {"ram beyond 32 signed bits", &TStoredSettings::RamToFree, 0xFFFFFFFFu, {128, 500, true, 5}},
        {"ram at the top", &TStoredSettings::RamToFree, 128u, {128, 500, true, 5}},
        {"tray figure off", &TStoredSettings::TrayShowsFree, 0u, {100, 500, true, 5, false}},
        {"tray figure two", &TStoredSettings::TrayShowsFree, 2u, {100, 500, true, 5, false}},
        {"tray figure missing", &TStoredSettings::TrayShowsFree, std::nullopt, {100, 500, true, 5, false}},
        {"hotkey off", &TStoredSettings::OptimizeHotkey, 0u, {100, 500, true, 5, true, 0}},
        {"hotkey extended with Ctrl", &TStoredSettings::OptimizeHotkey, 0x0A2Eu, {100, 500, true, 5, true, 0x0A2E}},
        {"hotkey missing", &TStoredSettings::OptimizeHotkey, std::nullopt, {100, 500, true, 5, true, 0x0641}},
        {"hotkey Shift only", &TStoredSettings::OptimizeHotkey, 0x0141u, {100, 500, true, 5, true, 0x0641}},
        {"hotkey without a key", &TStoredSettings::OptimizeHotkey, 0x0600u, {100, 500, true, 5, true, 0x0641}},
        {"hotkey unknown flag", &TStoredSettings::OptimizeHotkey, 0x1641u, {100, 500, true, 5, true, 0x0641}},
        {"hotkey beyond a word", &TStoredSettings::OptimizeHotkey, 0x10641u, {100, 500, true, 5, true, 0x0641}},
        {"areas missing", &TStoredSettings::MemoryAreas, std::nullopt, {100, 500, true, 5, true, 0x0777, 2, 30}},
        {"areas none", &TStoredSettings::MemoryAreas, 0u, {100, 500, true, 5, true, 0x0777, 2, 30}},
        {"areas all", &TStoredSettings::MemoryAreas, 0x7Fu, {100, 500, true, 5, true, 0x0777, 0x7F, 30}},
        {"areas unknown bit", &TStoredSettings::MemoryAreas, 0x81u, {100, 500, true, 5, true, 0x0777, 2, 30}},
        {"interval off", &TStoredSettings::IntervalMinutes, 0u, {100, 500, true, 5, true, 0x0777, 3, 0}},
        {"interval missing", &TStoredSettings::IntervalMinutes, std::nullopt, {100, 500, true, 5, true, 0x0777, 3, 0}},
        {"interval four minutes", &TStoredSettings::IntervalMinutes, 4u, {100, 500, true, 5, true, 0x0777, 3, 0}},
        {"interval five minutes", &TStoredSettings::IntervalMinutes, 5u, {100, 500, true, 5, true, 0x0777, 3, 5}},
        {"interval a day", &TStoredSettings::IntervalMinutes, 1440u, {100, 500, true, 5, true, 0x0777, 3, 1440}},
        {"interval above a day", &TStoredSettings::IntervalMinutes, 1441u, {100, 500, true, 5, true, 0x0777, 3, 0}},
        {"interval negative when signed", &TStoredSettings::IntervalMinutes, 0xFFFFFFFBu,
         {100, 500, true, 5, true, 0x0777, 3, 0}},
    };
    for (const auto& c : cases) {
        TStoredSettings stored = valid;
        stored.*c.field = c.stored;
        const TUserSettings s = SettingsFromStore(stored, Defaults(), 1, 128);
        EXPECT_EQ(s.RamToFree, c.expected.RamToFree) << c.what;
        EXPECT_EQ(s.AlarmLevel, c.expected.AlarmLevel) << c.what;
        EXPECT_EQ(s.AutoOptimize, c.expected.AutoOptimize) << c.what;
        EXPECT_EQ(s.RefreshPeriod, c.expected.RefreshPeriod) << c.what;
        EXPECT_EQ(s.TrayShowsFree, c.expected.TrayShowsFree) << c.what;
        EXPECT_EQ(s.OptimizeHotkey, c.expected.OptimizeHotkey) << c.what;
        if (c.field == &TStoredSettings::MemoryAreas || c.field == &TStoredSettings::IntervalMinutes) {
            EXPECT_EQ(s.MemoryAreas, c.expected.MemoryAreas) << c.what;
            EXPECT_EQ(s.IntervalMinutes, c.expected.IntervalMinutes) << c.what;
        }
    }
}

// The names never trimmed, as the registry or the text of the field and the
// settings file holds them: a name that cannot be used is dropped alone.
TEST(TrimExcludeNames, EachNameIsReadAloneAndAPathIsCutToItsFileName)
{
    using TNames = std::vector<std::wstring>;
    constexpr std::uint32_t kRegMultiSz = 7;
    const struct {
        const char* what;
        std::uint32_t type;
        std::vector<std::uint8_t> bytes;
        std::optional<TNames> expected;
    } cases[] = {
        {"two names", kRegMultiSz, bytes(u"obs64.exe\0Game.exe\0\0"), TNames{L"obs64.exe", L"Game.exe"}},
        {"empty, as Windows writes it", kRegMultiSz, bytes(u"\0\0"), TNames{}},
        {"empty, one zero", kRegMultiSz, bytes(u"\0"), TNames{}},
        {"no bytes", kRegMultiSz, {}, TNames{}},
        {"a name beyond the Latin script", kRegMultiSz, bytes(u"\u0438\u0433\u0440\u0430.exe\0\0"),
         TNames{L"\u0438\u0433\u0440\u0430.exe"}},
        {"not ended", kRegMultiSz, bytes(u"obs64.exe"), std::nullopt},
        {"the list's end missing", kRegMultiSz, bytes(u"obs64.exe\0"), TNames{L"obs64.exe"}},
        {"text after the end", kRegMultiSz, bytes(u"a.exe\0\0b.exe\0\0"), std::nullopt},
        {"an odd size", kRegMultiSz, {'a', 0, 0, 0, 0}, std::nullopt},
        {"a path", kRegMultiSz, bytes(u"C:\\Games\\game.exe\0\0"), TNames{L"game.exe"}},
        {"one name that cannot be used", kRegMultiSz, bytes(u"obs64.exe\0a\tb.exe\0\"C:\\G\\game.exe\"\0\0"),
         TNames{L"obs64.exe", L"game.exe"}},
        {"one text", kRegSz, bytes(u"obs64.exe\0"), std::nullopt},
        {"binary", kRegBinary, bytes(u"obs64.exe\0\0"), std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NamesFromMultiString(c.type, c.bytes.data(), c.bytes.size()), c.expected) << c.what;
    const TNames many(kMaxTrimExclude + 1, L"a.exe");
    const std::vector<std::uint8_t> stored = NamesToMultiString(many);
    EXPECT_EQ(NamesFromMultiString(kRegMultiSz, stored.data(), stored.size()), TNames(kMaxTrimExclude, L"a.exe"));
    for (const TNames& names : {TNames{}, TNames{L"obs64.exe", L"\u0438\u0433\u0440\u0430.exe"}}) {
        const std::vector<std::uint8_t> written = NamesToMultiString(names);
        EXPECT_EQ(NamesFromMultiString(kRegMultiSz, written.data(), written.size()), names) << "written, then read";
        EXPECT_EQ(NamesFromText(NamesToText(names)), names) << "shown, then read";
    }

    const struct {
        const wchar_t* typed;
        TNames names;
    } typed[] = {
        {L"obs64.exe; game.exe", {L"obs64.exe", L"game.exe"}},
        {L" obs64.exe ,game.exe;;", {L"obs64.exe", L"game.exe"}},
        {L"C:\\Program Files\\OBS\\obs64.exe", {L"obs64.exe"}},
        {L"\"quoted.exe\"; ok.exe", {L"quoted.exe", L"ok.exe"}},
        {L"\"C:\\Program Files\\OBS\\obs64.exe\", a*b.exe; game.exe", {L"obs64.exe", L"game.exe"}},
        {L"", {}},
        {L" ; , ", {}},
    };
    for (const auto& t : typed) EXPECT_EQ(NamesFromText(t.typed), t.names) << ToUtf8(t.typed);
}

TEST(RamToFreeFromStore, AMachineTooSmallForABlockGivesTheMinimum)
{
    // The slider's maximum is 0 here: the minimum wins, and no undefined clamp.
    EXPECT_EQ(RamToFreeFromStore(50u, 0, 1, 0), 1);
    EXPECT_EQ(RamToFreeFromStore(std::nullopt, 0, 1, 0), 0);
    EXPECT_EQ(RamToFreeFromStore(7u, 3, 1, std::numeric_limits<std::int32_t>::max()), 7);
}
