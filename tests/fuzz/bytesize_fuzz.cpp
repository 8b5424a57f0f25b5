// Feeds arbitrary text to FormatByteSize: it must either raise EConvertError
// or return a well-formed text whose figure matches the count.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/bytesize.h"
#include "toolkit/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text += static_cast<wchar_t>(data[i] | data[i + 1] << 8);
    // Half the inputs as plain ASCII, so that the fuzzer reaches valid numbers.
    if (size % 2 == 1) {
        text.clear();
        for (std::size_t i = 0; i < size; ++i) text += static_cast<wchar_t>(data[i]);
    }

    std::wstring result;
    try {
        result = FormatByteSize(text);
    } catch (const EConvertError&) {
        return 0;
    }

    const std::size_t space = result.find(L' ');
    if (space == std::wstring::npos) std::abort();
    const std::wstring unit = result.substr(space + 1);
    const std::string figure = ToUtf8(result.substr(0, space));
    const long double count = std::strtold(ToUtf8(text).c_str(), nullptr);
    long double scale = 0;
    if (unit == L"bytes") scale = 1;
    else if (unit == L"KB") scale = 1024.0L;
    else if (unit == L"MB") scale = 1048576.0L;
    else if (unit == L"GB") scale = 1073741824.0L;
    else std::abort();

    if (scale == 1) {
        if (figure.find('.') != std::string::npos || std::fabs(count) >= 1024) std::abort();
    } else {
        const std::size_t dot = figure.find('.');
        if (dot == std::string::npos || figure.size() - dot != 3) std::abort();
        // The figure is the count in the unit, to the nearest hundredth.
        const long double shown = std::strtold(figure.c_str(), nullptr);
        if (std::fabs(shown - count / scale) > 0.0051L) std::abort();
        if (std::fabs(count / scale) < 1 && unit != L"KB") std::abort();
    }
    return 0;
}
