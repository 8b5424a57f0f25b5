#include "toolkit/errors.h"

Exception::Exception(std::wstring message) : message_(std::move(message)), narrow_(ToUtf8(message_)) {}

namespace {

std::wstring ReplaceFirstPlaceholder(std::wstring_view pattern, std::wstring_view arg)
{
    std::wstring out;
    out.reserve(pattern.size() + arg.size());
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == L'%' && i + 1 < pattern.size() && (pattern[i + 1] == L's' || pattern[i + 1] == L'd')) {
            out.append(pattern.substr(0, i));
            out.append(arg);
            out.append(pattern.substr(i + 2));
            return out;
        }
    }
    return std::wstring(pattern);
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

void AppendWide(std::wstring& out, char32_t cp)
{
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (cp >> 10));
            out += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(cp);
}

} // namespace

std::wstring FormatMessageText(std::wstring_view pattern, std::wstring_view arg)
{
    return ReplaceFirstPlaceholder(pattern, arg);
}

std::wstring FormatMessageText(std::wstring_view pattern, std::int64_t arg)
{
    return ReplaceFirstPlaceholder(pattern, std::to_wstring(arg));
}

std::wstring ErrorReportText(const std::wstring& message)
{
    // The marks that end a sentence: Latin, the fullwidth and ideographic
    // ones of Chinese and Japanese, Arabic's question mark and Urdu's full
    // stop, the Devanagari dandas, Ethiopic's full stop, and the ellipsis.
    constexpr std::wstring_view kSentenceEnds = L".!?\u2026\u3002\uFF0E\uFF01\uFF1F\uFF61\u061F\u06D4\u0964\u0965\u1362";
    if (message.empty() || kSentenceEnds.find(message.back()) != std::wstring_view::npos) return message;
    // Thai, Lao, Khmer and Burmese end a sentence with a space, or with
    // nothing at the end of a text: a full stop there is a mistake.
    const wchar_t last = message.back();
    if ((last >= 0x0E00 && last <= 0x0EFF) || (last >= 0x1780 && last <= 0x17FF) || (last >= 0x1000 && last <= 0x109F))
        return message;
    return message + L".";
}

void CheckListIndex(std::size_t index, std::size_t count)
{
    // A negative index that became unsigned reads as itself in the message.
    if (index >= count)
        throw EListError(FormatMessageText(L"List index out of bounds (%d)", static_cast<std::int64_t>(index)));
}

std::string ToUtf8(std::wstring_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char32_t cp = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size()
                && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char32_t>(text[i + 1]) - 0xDC00);
                ++i;
            } else if (cp >= 0xD800 && cp <= 0xDFFF) {
                cp = 0xFFFD;
            }
        }
        if (cp > 0x10FFFF) cp = 0xFFFD;
        AppendUtf8(out, cp);
    }
    return out;
}

namespace {

// The text's characters; each sequence that is not UTF-8 becomes U+FFFD,
// or with whole, ends the decoding with nothing.
std::optional<std::wstring> DecodeUtf8(std::string_view text, bool whole)
{
    std::wstring out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto b = static_cast<unsigned char>(text[i]);
        const int extra = b < 0x80 ? 0 : (b >> 5) == 0x6 ? 1 : (b >> 4) == 0xE ? 2 : (b >> 3) == 0x1E ? 3 : -1;
        char32_t cp = extra <= 0 ? b : (b & (0x3F >> extra));
        bool ok = extra >= 0;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + k >= text.size()) { ok = false; break; }
            const auto c = static_cast<unsigned char>(text[i + k]);
            if ((c & 0xC0) != 0x80) { ok = false; break; }
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!ok || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            if (whole) return std::nullopt;
            AppendWide(out, 0xFFFD);
            ++i;
            continue;
        }
        AppendWide(out, cp);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

} // namespace

std::wstring FromUtf8(std::string_view text)
{
    return *DecodeUtf8(text, false);
}

std::optional<std::wstring> FromWholeUtf8(std::string_view text)
{
    return DecodeUtf8(text, true);
}
