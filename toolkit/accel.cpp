#include "toolkit/accel.h"

wchar_t AccelChar(std::wstring_view caption)
{
    wchar_t found = 0;
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        ++i;  // the marked character, or the second "&" of a pair
        if (caption[i] != L'&') found = caption[i];
    }
    return found;
}
