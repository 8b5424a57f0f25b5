#include "toolkit/shorthint.h"

std::wstring_view ShortHint(std::wstring_view hint)
{
    return hint.substr(0, hint.find(L'|'));
}
