// Text to integer conversion shared by the layers. Platform-free.
#pragma once

#include <cstdint>
#include <string_view>

// Parses an optionally signed decimal integer: no spaces, no other bases.
// Anything else, or a value out of range, raises EConvertError.
std::int64_t StrToInt64(std::wstring_view text);
std::int32_t StrToInt(std::wstring_view text);
