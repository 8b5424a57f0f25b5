#include "toolkit/convert.h"

#include <limits>

#include "toolkit/errors.h"

namespace {

[[noreturn]] void RaiseNotInteger(std::wstring_view text)
{
    throw EConvertError(FormatMessageText(L"'%s' is not a valid integer value", text));
}

} // namespace

std::int64_t StrToInt64(std::wstring_view text)
{
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    if (i == text.size()) RaiseNotInteger(text);
    // Accumulate the magnitude unsigned so that the most negative value fits.
    const std::uint64_t limit = negative ? std::uint64_t{1} << 63 : (std::uint64_t{1} << 63) - 1;
    std::uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c < L'0' || c > L'9') RaiseNotInteger(text);
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (magnitude > (limit - digit) / 10) RaiseNotInteger(text);
        magnitude = magnitude * 10 + digit;
    }
    if (!negative) return static_cast<std::int64_t>(magnitude);
    return magnitude == (std::uint64_t{1} << 63) ? std::numeric_limits<std::int64_t>::min()
                                                 : -static_cast<std::int64_t>(magnitude);
}

std::int32_t StrToInt(std::wstring_view text)
{
    const std::int64_t value = StrToInt64(text);
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        RaiseNotInteger(text);
    return static_cast<std::int32_t>(value);
}
