#include "toolkit/commandline.h"

std::wstring CommandForPath(std::wstring_view path)
{
    const bool quoted = path.size() >= 2 && path.front() == L'"' && path.back() == L'"';
    if (quoted || path.find_first_of(L" \t") == std::wstring_view::npos) return std::wstring(path);
    return L"\"" + std::wstring(path) + L"\"";
}
