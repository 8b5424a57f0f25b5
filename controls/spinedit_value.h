// The spin edit's number: reading it from the text, clamping, stepping and
// the key filter. Platform-free.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// Decimal text to a signed 32-bit number: leading blanks, an optional sign,
// then decimal digits and nothing else. Empty text, a lone sign, a decimal
// separator or any other character, and numbers outside 32 bits give
// nullopt.
std::optional<std::int32_t> TextToInt32(std::wstring_view text);

// Value as read from the text: a text that does not convert reads as
// minValue. Reading never clamps.
std::int32_t SpinValueOfText(std::wstring_view text, std::int32_t minValue);

// Equal limits mean no range. The lower limit is tested first, which decides
// the result when minValue > maxValue.
std::int32_t ClampSpinValue(std::int32_t value, std::int32_t minValue, std::int32_t maxValue);

// value + increment (up) or value - increment (down), wrapping around in
// 32 bits, then clamped: the number a step writes.
std::int32_t SteppedSpinValue(std::int32_t value, std::int32_t increment, bool up,
                              std::int32_t minValue, std::int32_t maxValue);

// The key filter: signs, digits and the locale's decimal separator, and
// control characters except Enter (13). With the editor disabled only
// control characters other than Backspace (8) and Enter pass.
bool SpinAcceptsChar(wchar_t ch, wchar_t decimalSeparator, bool editorEnabled);
