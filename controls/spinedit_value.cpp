#include "controls/spinedit_value.h"

std::optional<std::int32_t> TextToInt32(std::wstring_view text)
{
    size_t i = 0;
    while (i < text.size() && text[i] == L' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    if (i == text.size()) return std::nullopt;

    // Accumulate the magnitude in 64 bits; stop as soon as it cannot fit.
    std::int64_t magnitude = 0;
    constexpr std::int64_t limit = std::int64_t{1} << 31;  // |INT32_MIN|
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c < L'0' || c > L'9') return std::nullopt;
        magnitude = magnitude * 10 + (c - L'0');
        if (magnitude > limit) return std::nullopt;
    }
    if (!negative && magnitude == limit) return std::nullopt;
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

std::int32_t SpinValueOfText(std::wstring_view text, std::int32_t minValue)
{
    return TextToInt32(text).value_or(minValue);
}

std::int32_t ClampSpinValue(std::int32_t value, std::int32_t minValue, std::int32_t maxValue)
{
    if (minValue == maxValue) return value;
    if (value < minValue) return minValue;
    if (value > maxValue) return maxValue;
    return value;
}

std::int32_t SteppedSpinValue(std::int32_t value, std::int32_t increment, bool up,
                              std::int32_t minValue, std::int32_t maxValue)
{
    // Unsigned arithmetic wraps by definition; signed overflow would not.
    const auto v = static_cast<std::uint32_t>(value), d = static_cast<std::uint32_t>(increment);
    const auto stepped = static_cast<std::int32_t>(up ? v + d : v - d);
    return ClampSpinValue(stepped, minValue, maxValue);
}

bool SpinAcceptsChar(wchar_t ch, wchar_t decimalSeparator, bool editorEnabled)
{
    const bool accepted = ch == L'+' || ch == L'-' || (ch >= L'0' && ch <= L'9') || ch == decimalSeparator ||
                          (ch < 32 && ch != 13);
    if (!accepted) return false;
    return editorEnabled || (ch < 32 && ch != 8);
}
