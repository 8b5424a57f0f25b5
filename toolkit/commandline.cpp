#include "toolkit/commandline.h"

std::wstring CommandForPath(std::wstring_view path)
{
    const bool quoted = path.size() >= 2 && path.front() == L'"' && path.back() == L'"';
    if (quoted || path.find_first_of(L" \t") == std::wstring_view::npos) return std::wstring(path);
    return L"\"" + std::wstring(path) + L"\"";
}

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

std::vector<std::wstring> CommandLineWords(std::wstring_view line)
{
    std::vector<std::wstring> words;
    size_t i = 0;
    const size_t n = line.size();
    if (n == 0) return words;

    // The program name: no escapes, since a path cannot hold a quote.
    std::wstring name;
    if (line[0] == L'"') {
        const size_t close = line.find(L'"', 1);
        const size_t end = close == std::wstring_view::npos ? n : close;
        name.assign(line.substr(1, end - 1));
        i = close == std::wstring_view::npos ? n : close + 1;
    } else {
        while (i < n && !IsBlank(line[i])) name += line[i++];
    }
    words.push_back(std::move(name));

    for (;;) {
        while (i < n && IsBlank(line[i])) ++i;
        if (i >= n) break;
        std::wstring word;
        bool quoted = false;
        while (i < n && (quoted || !IsBlank(line[i]))) {
            if (line[i] == L'\\') {
                size_t slashes = 0;
                while (i < n && line[i] == L'\\') ++slashes, ++i;
                if (i < n && line[i] == L'"') {
                    word.append(slashes / 2, L'\\');
                    if (slashes % 2 == 1) {
                        word += L'"';
                        ++i;
                    }
                } else {
                    word.append(slashes, L'\\');
                }
            } else if (line[i] == L'"') {
                if (quoted && i + 1 < n && line[i + 1] == L'"') {
                    word += L'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                word += line[i++];
            }
        }
        words.push_back(std::move(word));
    }
    return words;
}
