#include "controls/traytip.h"

#include "toolkit/shorthint.h"

std::wstring TrayTip(std::wstring_view hint)
{
    std::wstring_view tip = ShortHint(hint);
    if (tip.size() > TrayTipMaxLength) {
        size_t keep = TrayTipMaxLength;
        const wchar_t last = tip[keep - 1];
        if (last >= 0xD800 && last <= 0xDBFF) --keep;  // half a character would show as garbage
        tip = tip.substr(0, keep);
    }
    return std::wstring(tip);
}
