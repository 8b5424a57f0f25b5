#include "settings/regvalue.h"

#include "toolkit/convert.h"

std::wstring TRegValue::AsText() const
{
    if (const auto* text = std::get_if<std::wstring>(&value_)) return *text;
    return std::to_wstring(std::get<std::int32_t>(value_));
}

std::int32_t TRegValue::AsInteger() const
{
    if (const auto* number = std::get_if<std::int32_t>(&value_)) return *number;
    return StrToInt(std::get<std::wstring>(value_));
}
