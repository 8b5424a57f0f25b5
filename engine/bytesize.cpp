#include "engine/bytesize.h"

#include <cstdint>

#include "toolkit/convert.h"
#include "toolkit/texts.h"

namespace {

// magnitude / unit rounded to the nearest hundredth (halves away from zero),
// in integers so that no count is rounded on its way in and the text does not
// depend on the C runtime's printf.
std::wstring Scaled(bool negative, std::uint64_t magnitude, std::uint64_t unit, TText name)
{
    const std::uint64_t whole = magnitude / unit;
    const std::uint64_t rest = magnitude % unit;
    const std::uint64_t hundredths = whole * 100 + (rest * 100 + unit / 2) / unit;
    std::wstring text = negative ? L"-" : L"";
    text += std::to_wstring(hundredths / 100);
    text += DecimalSeparator();
    text += static_cast<wchar_t>(L'0' + hundredths % 100 / 10);
    text += static_cast<wchar_t>(L'0' + hundredths % 10);
    return Text(name, {text});
}

} // namespace

std::wstring FormatByteSize(const std::wstring& countText)
{
    const std::int64_t v = StrToInt64(countText);
    const bool negative = v < 0;
    // Negative counts scale like positive ones; the magnitude of the most
    // negative count only fits unsigned.
    const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v);
    if (magnitude >= std::uint64_t{1} << 30) return Scaled(negative, magnitude, std::uint64_t{1} << 30, TText::UnitGb);
    if (magnitude >= std::uint64_t{1} << 20) return Scaled(negative, magnitude, std::uint64_t{1} << 20, TText::UnitMb);
    if (magnitude >= std::uint64_t{1} << 10) return Scaled(negative, magnitude, std::uint64_t{1} << 10, TText::UnitKb);
    return Text(TText::UnitBytes, {std::to_wstring(v)});
}
