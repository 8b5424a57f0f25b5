#include "settings/inifile.h"

#include <cwctype>

#include "settings/outerblanks.h"
#include "toolkit/errors.h"

namespace {

bool SameName(std::wstring_view a, std::wstring_view b) noexcept
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

// The section a "[name]" line opens; nothing for any other line.
std::optional<std::wstring_view> SectionOf(std::wstring_view line)
{
    const std::wstring_view text = WithoutOuterBlanks(line);
    if (text.size() < 2 || text.front() != L'[' || text.back() != L']') return std::nullopt;
    return WithoutOuterBlanks(text.substr(1, text.size() - 2));
}

// The name of a "name=value" line; nothing for a comment or any other line.
std::optional<std::wstring_view> NameOf(std::wstring_view line)
{
    const std::wstring_view text = WithoutOuterBlanks(line);
    if (text.empty() || text.front() == L';' || text.front() == L'#') return std::nullopt;
    const std::size_t equals = text.find(L'=');
    if (equals == std::wstring_view::npos || equals == 0) return std::nullopt;
    return WithoutOuterBlanks(text.substr(0, equals));
}

std::wstring Decoded(std::string_view bytes, const TAnsiDecoder& ansi)
{
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE) {
        std::wstring text;
        text.reserve(bytes.size() / 2);
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                                static_cast<unsigned char>(bytes[i + 1]) << 8));
        return text;
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) return FromUtf8(bytes.substr(3));
    if (auto text = FromWholeUtf8(bytes)) return std::move(*text);
    return ansi ? ansi(bytes) : FromUtf8(bytes);
}

} // namespace

TIniDocument TIniDocument::FromBytes(std::string_view bytes, const TAnsiDecoder& ansi)
{
    TIniDocument document;
    const std::wstring text = Decoded(bytes, ansi);
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find(L'\n', at);
        if (end == std::wstring::npos) end = text.size();
        std::wstring line = text.substr(at, end - at);
        if (!line.empty() && line.back() == L'\r') line.pop_back();
        document.lines_.push_back(std::move(line));
        at = end + 1;
    }
    return document;
}

std::size_t TIniDocument::Find(std::wstring_view name) const
{
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto section = SectionOf(lines_[i])) {
            inSection = SameName(*section, kIniSection);
            continue;
        }
        if (!inSection) continue;
        const auto lineName = NameOf(lines_[i]);
        if (lineName && SameName(*lineName, name)) return i;
    }
    return lines_.size();
}

std::optional<std::wstring> TIniDocument::Value(std::wstring_view name) const
{
    const std::size_t at = Find(name);
    if (at == lines_.size()) return std::nullopt;
    const std::wstring_view line = lines_[at];
    return std::wstring(WithoutOuterBlanks(line.substr(line.find(L'=') + 1)));
}

void TIniDocument::SetValue(std::wstring_view name, std::wstring_view value)
{
    std::wstring line(name);
    line += L'=';
    for (const wchar_t c : value) line.push_back(c == L'\r' || c == L'\n' ? L' ' : c);

    const std::size_t at = Find(name);
    if (at != lines_.size()) {
        lines_[at] = std::move(line);
        return;
    }
    // After the section's last line that is not blank, so that a blank line
    // before the next section stays where it was.
    std::optional<std::size_t> insert;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (const auto section = SectionOf(lines_[i])) {
            if (inSection) break;
            inSection = SameName(*section, kIniSection);
            if (inSection) insert = i + 1;
            continue;
        }
        if (inSection && !WithoutOuterBlanks(lines_[i]).empty()) insert = i + 1;
    }
    if (!insert) {
        // No section of ours yet: one at the end.
        if (!lines_.empty() && !WithoutOuterBlanks(lines_.back()).empty()) lines_.emplace_back();
        lines_.push_back(L"[" + std::wstring(kIniSection) + L"]");
        lines_.push_back(std::move(line));
        return;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(*insert), std::move(line));
}

std::string TIniDocument::Bytes() const
{
    std::string bytes = "\xEF\xBB\xBF";
    for (const std::wstring& line : lines_) {
        bytes += ToUtf8(line);
        bytes += "\r\n";
    }
    return bytes;
}
