#include "controls/accelerator.h"

wchar_t AcceleratorChar(std::wstring_view caption)
{
    wchar_t found = 0;
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        ++i;  // the marked character, or the second "&" of a pair
        if (caption[i] != L'&') found = caption[i];
    }
    return found;
}

namespace {
wchar_t FoldAscii(wchar_t c) { return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A') : c; }
} // namespace

bool IsAccelerator(wchar_t ch, std::wstring_view caption)
{
    const wchar_t accel = AcceleratorChar(caption);
    return accel != 0 && FoldAscii(accel) == FoldAscii(ch);
}
