#include "toolkit/texts.h"

#include <array>
#include <atomic>
#include <cwctype>
#include <memory>
#include <mutex>

#include "toolkit/errors.h"
#include "toolkit/inflate.h"

namespace {

std::atomic<const TLanguage*> g_current{nullptr};
std::wstring g_decimal = L".";

bool SameTag(std::wstring_view a, std::wstring_view b) noexcept
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

std::wstring_view BaseOf(std::wstring_view tag) noexcept
{
    return tag.substr(0, tag.find_first_of(L"-_"));
}

// Chinese is chosen by its script, which Windows often leaves to the region.
const TLanguage* FindChinese(std::wstring_view tag) noexcept
{
    if (!SameTag(BaseOf(tag), L"zh")) return nullptr;
    auto has = [&](std::wstring_view part) {
        for (std::size_t at = 0; (at = tag.find_first_of(L"-_", at)) != std::wstring_view::npos;) {
            ++at;
            const std::wstring_view rest = tag.substr(at, tag.find_first_of(L"-_", at) - at);
            if (SameTag(rest, part)) return true;
        }
        return false;
    };
    const bool traditional = has(L"Hant") || (!has(L"Hans") && (has(L"TW") || has(L"HK") || has(L"MO")));
    return FindLanguage(traditional ? L"zh-Hant" : L"zh-Hans");
}

// Portuguese is written as in Portugal everywhere but Brazil (Angola,
// Mozambique…); with no region, as in Brazil, as Windows' own "pt" is.
const TLanguage* FindPortuguese(std::wstring_view tag) noexcept
{
    if (!SameTag(BaseOf(tag), L"pt") || tag.size() == 2) return nullptr;
    const std::wstring_view region = tag.substr(tag.find_last_of(L"-_") + 1);
    return FindLanguage(SameTag(region, L"BR") ? L"pt-BR" : L"pt-PT");
}

// Norwegian in either written form, and with no form, reads Bokmål.
std::wstring_view WrittenAs(std::wstring_view base) noexcept
{
    return SameTag(base, L"no") || SameTag(base, L"nn") ? std::wstring_view(L"nb") : base;
}

// A packed language's texts, unpacked once and kept for the process's life,
// so a text read on another thread never outlives its table.
struct TUnpacked {
    std::string Bytes;
    std::array<const char*, kTextCount> Texts{};
};

std::array<std::atomic<const TUnpacked*>, kLanguageCount> g_unpacked{};
std::mutex g_unpacking;

// The language's texts; nothing for a table that does not unpack to one text
// for each id (never for the tables the build makes), whose texts then come
// in English.
const TUnpacked* Unpack(const TLanguage& language)
{
    const auto index = static_cast<std::size_t>(&language - kLanguages);
    if (const TUnpacked* ready = g_unpacked[index].load(std::memory_order_acquire)) return ready;
    const std::lock_guard lock(g_unpacking);
    if (const TUnpacked* ready = g_unpacked[index].load(std::memory_order_relaxed)) return ready;
    auto bytes = Inflate({language.Packed, language.PackedSize}, language.Size);
    if (!bytes || bytes->size() != language.Size) return nullptr;
    auto unpacked = std::make_unique<TUnpacked>();
    unpacked->Bytes = std::move(*bytes);
    std::size_t at = 0;
    for (const char*& text : unpacked->Texts) {
        const std::size_t end = unpacked->Bytes.find('\0', at);
        if (end == std::string::npos) return nullptr;
        text = unpacked->Bytes.data() + at;
        at = end + 1;
    }
    if (at != unpacked->Bytes.size()) return nullptr;
    g_unpacked[index].store(unpacked.get(), std::memory_order_release);
    return unpacked.release();
}

const char* const* TextsOf(const TLanguage& language)
{
    if (language.Texts != nullptr) return language.Texts;
    const TUnpacked* unpacked = Unpack(language);
    return unpacked != nullptr ? unpacked->Texts.data() : nullptr;
}

} // namespace

std::span<const TLanguage> Languages() noexcept
{
    return {kLanguages, kLanguageCount};
}

const TLanguage& EnglishLanguage() noexcept
{
    return kLanguages[0];
}

const TLanguage* FindLanguage(std::wstring_view tag) noexcept
{
    for (const TLanguage& language : Languages())
        if (SameTag(language.Tag, tag)) return &language;
    return nullptr;
}

const TLanguage& ChooseLanguage(const std::vector<std::wstring>& preferred) noexcept
{
    for (const std::wstring& tag : preferred) {
        if (const TLanguage* exact = FindLanguage(tag)) return *exact;
        if (const TLanguage* chinese = FindChinese(tag)) return *chinese;
        if (const TLanguage* portuguese = FindPortuguese(tag)) return *portuguese;
        // Serbian in Cyrillic, or with no script, comes to the one Serbian
        // here, in Latin, by its base.
        const std::wstring_view base = WrittenAs(BaseOf(tag));
        if (const TLanguage* same = FindLanguage(base)) return *same;
        for (const TLanguage& language : Languages())
            if (SameTag(BaseOf(language.Tag), base)) return language;
    }
    return EnglishLanguage();
}

const TLanguage& CurrentLanguage() noexcept
{
    const TLanguage* current = g_current.load(std::memory_order_relaxed);
    return current != nullptr ? *current : EnglishLanguage();
}

void SetCurrentLanguage(const TLanguage& language, std::wstring_view userDecimal)
{
    // Set on the window's thread only; read there too.
    g_decimal.assign(userDecimal.empty() ? std::wstring_view(L".") : userDecimal);
    // Unpacked here, once, rather than by the first text read.
    TextsOf(language);
    g_current.store(&language, std::memory_order_relaxed);
}

std::wstring DecimalSeparator()
{
    return IsEnglish() ? std::wstring(L".") : g_decimal;
}

bool IsEnglish() noexcept
{
    return &CurrentLanguage() == &EnglishLanguage();
}

std::wstring Text(TText id)
{
    const auto index = static_cast<std::size_t>(id);
    const char* const* texts = TextsOf(CurrentLanguage());
    const char* text = texts != nullptr ? texts[index] : nullptr;
    return FromUtf8(text != nullptr && *text != '\0' ? text : EnglishLanguage().Texts[index]);
}

std::wstring Text(TText id, std::initializer_list<std::wstring_view> args)
{
    return FormatText(Text(id), args);
}

std::wstring FormatText(std::wstring_view pattern, std::initializer_list<std::wstring_view> args)
{
    std::wstring out;
    out.reserve(pattern.size() + 16);
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        if (c == L'{' && i + 2 < pattern.size() && pattern[i + 2] == L'}' && pattern[i + 1] >= L'1' &&
            pattern[i + 1] <= L'9') {
            const auto n = static_cast<std::size_t>(pattern[i + 1] - L'1');
            if (n < args.size()) {
                out.append(*(args.begin() + n));
                i += 2;
                continue;
            }
        }
        out.push_back(c);
    }
    return out;
}

void TTextBindings::Bind(TSetter set, TText id)
{
    set(Text(id));
    bindings_.emplace_back(std::move(set), id);
}

void TTextBindings::Restyle(std::function<void()> apply)
{
    apply();
    styles_.push_back(std::move(apply));
}

void TTextBindings::Apply() const
{
    for (const auto& apply : styles_) apply();
    for (const auto& [set, id] : bindings_) set(Text(id));
}
