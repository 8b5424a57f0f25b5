#include "controls/traytip.h"

std::wstring TrayTip(std::wstring_view hint)
{
    std::wstring_view tip = hint.substr(0, hint.find(L'|'));
    if (tip.size() > TrayTipMaxLength) {
        size_t keep = TrayTipMaxLength;
        const wchar_t last = tip[keep - 1];
        if (last >= 0xD800 && last <= 0xDBFF) --keep;  // half a character would show as garbage
        tip = tip.substr(0, keep);
    }
    return std::wstring(tip);
}
