// A value on its way into the registry. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

// Text or a 32-bit integer, converted to the other on demand.
class TRegValue {
public:
    TRegValue(std::wstring text) : value_(std::move(text)) {}
    TRegValue(const wchar_t* text) : value_(std::wstring(text)) {}
    TRegValue(std::int32_t number) : value_(number) {}

    bool IsText() const noexcept { return std::holds_alternative<std::wstring>(value_); }
    // An integer in decimal.
    std::wstring AsText() const;
    // Text must be a decimal integer in range; otherwise EConvertError.
    std::int32_t AsInteger() const;

private:
    std::variant<std::wstring, std::int32_t> value_;
};
