#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "controls/spinedit_geometry.h"
#include "controls/spinedit_value.h"
#include "controls/traytip.h"
#include "toolkit/hotkeycode.h"
#include "toolkit/errors.h"

TEST(SpinText, ConvertsWholeNumbersOnly)
{
    EXPECT_EQ(TextToInt32(L"0"), 0);
    EXPECT_EQ(TextToInt32(L"15"), 15);
    EXPECT_EQ(TextToInt32(L"-7"), -7);
    EXPECT_EQ(TextToInt32(L"+7"), 7);
    EXPECT_EQ(TextToInt32(L"  42"), 42);
    EXPECT_EQ(TextToInt32(L"2147483647"), INT_MAX);
    EXPECT_EQ(TextToInt32(L"-2147483648"), INT_MIN);
    EXPECT_EQ(TextToInt32(L"0000000000000000000012"), 12);
    for (const wchar_t* bad : {L"", L"-", L"+", L" ", L"1.5", L"1,5", L",", L".", L"1-2", L"2147483648",
                               L"-2147483649", L"99999999999999999999", L"12 ", L"0x10", L"abc", L"--1"}) {
        EXPECT_FALSE(TextToInt32(bad).has_value()) << ToUtf8(bad);
    }
}

TEST(SpinText, UnconvertibleTextReadsAsMinValue)
{
    EXPECT_EQ(SpinValueOfText(L"", 0), 0);
    EXPECT_EQ(SpinValueOfText(L"-", 1), 1);
    EXPECT_EQ(SpinValueOfText(L"3,5", 1), 1);
    // Reading does not clamp: the out-of-range text stays until the exit.
    EXPECT_EQ(SpinValueOfText(L"15", 1), 15);
}

TEST(SpinClamp, EqualLimitsMeanNoRangeAndLowerLimitIsTestedFirst)
{
    EXPECT_EQ(ClampSpinValue(15, 1, 10), 10);
    EXPECT_EQ(ClampSpinValue(-4, 1, 10), 1);
    EXPECT_EQ(ClampSpinValue(5, 1, 10), 5);
    EXPECT_EQ(ClampSpinValue(INT_MIN, 0, 0), INT_MIN);
    EXPECT_EQ(ClampSpinValue(123456, 7, 7), 123456);
    // Inverted limits: below the lower one -> lower; otherwise above the upper -> upper.
    EXPECT_EQ(ClampSpinValue(3, 10, 1), 10);
    EXPECT_EQ(ClampSpinValue(12, 10, 1), 1);
}

TEST(SpinStep, WrapsIn32BitsAndClamps)
{
    EXPECT_EQ(SteppedSpinValue(INT_MAX, 1, true, 0, 0), INT_MIN);
    EXPECT_EQ(SteppedSpinValue(INT_MIN, 1, false, 0, 0), INT_MAX);
    EXPECT_EQ(SteppedSpinValue(10, 1, true, 1, 10), 10);
    EXPECT_EQ(SteppedSpinValue(5, 100, true, 1, 10), 10);   // increment larger than the range
    EXPECT_EQ(SteppedSpinValue(5, 100, false, 1, 10), 1);
    EXPECT_EQ(SteppedSpinValue(5, -2, true, 0, 0), 3);
}

TEST(SpinKeys, FilterCharacters)
{
    for (wchar_t ch : {L'0', L'9', L'+', L'-', L',', L'\b', L'\t', L'\x1b', L'\x16'}) {
        EXPECT_TRUE(SpinAcceptsChar(ch, L',', true)) << int(ch);
    }
    for (wchar_t ch : {L'a', L' ', L'.', L'\r', wchar_t(0x0660)}) {
        EXPECT_FALSE(SpinAcceptsChar(ch, L',', true)) << int(ch);
    }
    EXPECT_TRUE(SpinAcceptsChar(L'.', L'.', true));
    // Editor disabled: only control characters other than Backspace and Enter.
    for (wchar_t ch : {L'5', L'-', L',', L'\b', L'\r'}) EXPECT_FALSE(SpinAcceptsChar(ch, L',', false)) << int(ch);
    for (wchar_t ch : {L'\x03', L'\x16', L'\t', L'\x1b'}) EXPECT_TRUE(SpinAcceptsChar(ch, L',', false)) << int(ch);
}

TEST(SpinGeometry, ButtonsShareTheMiddleRow)
{
    const auto fit = FitSpinButtons(15, 17);
    EXPECT_EQ(fit.Width, 15);
    EXPECT_EQ(fit.Up, (TSpinBounds{0, 0, 15, 8}));
    EXPECT_EQ(fit.Down, (TSpinBounds{0, 7, 15, 10}));
    const auto even = FitSpinButtons(20, 25);
    EXPECT_EQ(even.Up, (TSpinBounds{0, 0, 20, 12}));
    EXPECT_EQ(even.Down, (TSpinBounds{0, 11, 20, 14}));
    EXPECT_EQ(FitSpinButtons(9, 17).Width, 15);
    EXPECT_EQ(FitSpinButtons(9, 17).Down.Width, 15);
}

TEST(SpinGeometry, MainWindowSpinEdit)
{
    // 51 x 22 with a 3-D frame (client 47 x 18), font height 13, system 16.
    EXPECT_EQ(SpinMinimumHeight(13, 16, 1), 22);
    EXPECT_EQ(SpinMinimumHeight(20, 16, 1), 20 + 4 + 4 + 2);
    EXPECT_EQ(SpinButtonPlacement(51, 22, 15, true), (TSpinBounds{31, 0, 15, 17}));
    EXPECT_EQ(SpinButtonPlacement(51, 22, 15, false), (TSpinBounds{36, 1, 15, 19}));
    EXPECT_EQ(SpinTextAreaRight(47, 15), 30);
}

TEST(TrayTip, ShortHintCutTo63Characters)
{
    EXPECT_EQ(TrayTip(L"abc|def"), L"abc");
    EXPECT_EQ(TrayTip(L"|def"), L"");
    EXPECT_EQ(TrayTip(L"1.2 GB Available"), L"1.2 GB Available");
    const std::wstring hundred(100, L'x');
    EXPECT_EQ(TrayTip(hundred), std::wstring(63, L'x'));
    EXPECT_EQ(TrayTip(std::wstring(63, L'y')).size(), 63u);
    EXPECT_EQ(TrayTip(std::wstring(70, L'z') + L"|tail"), std::wstring(63, L'z'));
}

TEST(TrayTip, CutNeverSplitsACharacter)
{
    // A character outside the basic plane straddling the limit is dropped
    // whole.
    std::wstring hint(62, L'a');
    hint += L"\U0001F600";
    if (sizeof(wchar_t) == 2) {
        EXPECT_EQ(TrayTip(hint), std::wstring(62, L'a'));
    } else {
        EXPECT_EQ(TrayTip(hint), hint);
    }
}

TEST(HotkeyCode, ModifiersComeInRegisterHotKeysOrderAndNeverRepeat)
{
    // The control's HOTKEYF_ (Shift 1, Ctrl 2, Alt 4, extended 8) against
    // RegisterHotKey's MOD_ (Alt 1, Ctrl 2, Shift 4, no repeat 0x4000).
    const struct {
        const char* what;
        std::uint16_t code;
        std::uint32_t modifiers;
    } cases[] = {
        {"Shift", 0x0141, 0x4004},
        {"Ctrl", 0x0241, 0x4002},
        {"Alt", 0x0441, 0x4001},
        {"Ctrl+Alt+Shift", 0x0777, 0x4007},
        {"Shift+Alt", 0x0541, 0x4005},
        {"the extended mark is no modifier", 0x0A2E, 0x4002},
        {"none", 0x0000, 0x4000},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HotkeyModifiers(c.code), c.modifiers) << c.what;
        EXPECT_EQ(HotkeyKey(c.code), c.code & 0xFF) << c.what;
    }
}

TEST(HotkeyCode, OnlyNoneOrAKeyWithCtrlOrAltIsUsable)
{
    const struct {
        const char* what;
        std::uint32_t code;
        bool usable;
    } cases[] = {
        {"none", 0x0000, true},
        {"Ctrl+Alt+Shift+F8", 0x0777, true},
        {"Ctrl+Delete, extended", 0x0A2E, true},
        {"Alt+A", 0x0441, true},
        {"all four flags", 0x0F2D, true},
        {"a key alone", 0x0041, false},
        {"Shift only", 0x0141, false},
        {"extended mark only", 0x082E, false},
        {"modifiers without a key", 0x0600, false},
        {"a flag beyond the four", 0x1641, false},
        {"Alt+F4, reserved", 0x0473, false},
        {"Ctrl+C, reserved", 0x0243, false},
        {"beyond a word", 0x10641, false},
        {"all bits", 0xFFFFFFFF, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsUsableHotkey(c.code), c.usable) << c.what;
}

TEST(HotkeyCode, WhatWindowsAndEveryProgramKeepIsReserved)
{
    constexpr std::uint16_t shift = 0x0100, ctrl = 0x0200, alt = 0x0400, ext = 0x0800;
    const struct {
        const char* what;
        std::uint16_t code;
        bool reserved;
    } cases[] = {
        {"Alt+Tab", alt | 0x09, true},
        {"Shift+Alt+Tab", shift | alt | 0x09, true},
        {"Alt+Esc", alt | 0x1B, true},
        {"Ctrl+Esc", ctrl | 0x1B, true},
        {"Ctrl+Shift+Esc", ctrl | shift | 0x1B, true},
        {"Ctrl+Alt+Del", ctrl | alt | ext | 0x2E, true},
        {"Ctrl+Alt+Del, keypad", ctrl | alt | 0x2E, true},
        {"Alt+Space", alt | 0x20, true},
        {"Alt+F4", alt | 0x73, true},
        {"Ctrl+C", ctrl | 'C', true},
        {"Ctrl+V", ctrl | 'V', true},
        {"Ctrl+X", ctrl | 'X', true},
        {"Ctrl+Z", ctrl | 'Z', true},
        {"Ctrl+A", ctrl | 'A', true},
        {"Ctrl+S", ctrl | 'S', true},
        {"Ctrl+P", ctrl | 'P', true},
        {"Ctrl+Alt+C", ctrl | alt | 'C', false},
        {"Ctrl+Shift+C", ctrl | shift | 'C', false},
        {"Alt+C", alt | 'C', false},
        {"Ctrl+Alt+F4", ctrl | alt | 0x73, false},
        {"Shift+Alt+F4", shift | alt | 0x73, false},
        {"Ctrl+Tab", ctrl | 0x09, false},
        {"Ctrl+Delete", ctrl | ext | 0x2E, false},
        {"Ctrl+Alt+Shift+F8", ctrl | alt | shift | 0x77, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsReservedHotkey(c.code), c.reserved) << c.what;
}

TEST(HotkeyCode, TheRulesReplaceOnlyTheInvalidModifiers)
{
    // As the window sets them: no modifier, or Shift alone, becomes Ctrl+Alt.
    const std::uint8_t invalid = kCombNone | kCombShift, replacement = kHotkeyControl | kHotkeyAlt;
    const struct {
        const char* what;
        std::uint16_t pressed, taken;
    } cases[] = {
        {"a key alone", 0x0041, 0x0641},
        {"Shift", 0x0141, 0x0641},
        {"Shift, extended: the mark stays", 0x092E, 0x0E2E},
        {"Ctrl", 0x0241, 0x0241},
        {"Shift+Alt", 0x0541, 0x0541},
        {"Ctrl+Alt+Shift", 0x0741, 0x0741},
    };
    for (const auto& c : cases) EXPECT_EQ(HotkeyUnderRules(c.pressed, invalid, replacement), c.taken) << c.what;
}
