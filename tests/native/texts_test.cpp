// The language tables: which one a user's Windows languages give, the
// placeholders, and figures written as the language writes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/bytesize.h"
#include "engine/runreport.h"
#include "toolkit/errors.h"
#include "toolkit/texts.h"

namespace {

struct TEnglishAfter {
    ~TEnglishAfter() { SetCurrentLanguage(EnglishLanguage()); }
};

} // namespace

TEST(Texts, WindowsPreferredLanguagesChooseTheFirstThatIsHere)
{
    const struct {
        std::vector<std::wstring> preferred;
        const wchar_t* chosen;
    } cases[] = {
        {{L"de-DE"}, L"de"},
        {{L"de-AT", L"fr-FR"}, L"de"},
        {{L"gsw-CH", L"fr-CH"}, L"fr"},
        {{L"pt-BR"}, L"pt-BR"},
        {{L"pt-PT"}, L"pt-BR"},
        {{L"zh-CN"}, L"zh-Hans"},
        {{L"zh-SG"}, L"zh-Hans"},
        {{L"zh-TW"}, L"zh-Hant"},
        {{L"zh-HK"}, L"zh-Hant"},
        {{L"zh-Hant-MO"}, L"zh-Hant"},
        {{L"zh-Hans-HK"}, L"zh-Hans"},
        {{L"EN-gb", L"de"}, L"en"},
        {{L"he-IL"}, L"he"},
        {{L"xx-YY"}, L"en"},
        {{}, L"en"},
    };
    for (const auto& c : cases) {
        std::wstring all;
        for (const auto& tag : c.preferred) all += tag + L" ";
        EXPECT_STREQ(ChooseLanguage(c.preferred).Tag, c.chosen) << ToUtf8(all);
    }
    EXPECT_TRUE(FindLanguage(L"ar")->RightToLeft);
    EXPECT_FALSE(FindLanguage(L"ja")->RightToLeft);
    EXPECT_EQ(FindLanguage(L"d"), nullptr);
}

TEST(Texts, PlaceholdersTakeTheirArgumentsByNumber)
{
    EXPECT_EQ(FormatText(L"{2} of {1}", {L"a", L"b"}), L"b of a");
    EXPECT_EQ(FormatText(L"{1}%", {L"93"}), L"93%");
    EXPECT_EQ(FormatText(L"{3} {1", {L"a"}), L"{3} {1");
    EXPECT_EQ(FormatText(L"{1}{1}", {L"{1}"}), L"{1}{1}");
}

// English keeps the design's "." whatever the user's regional settings; a
// translated interface takes the user's separator and its own unit names.
TEST(Texts, FiguresReadAsTheLanguageWritesThem)
{
    TEnglishAfter english;
    const struct {
        const wchar_t* language;
        const wchar_t* decimal;
        const wchar_t* kb;
        const wchar_t* bytes;
        const wchar_t* freed;
    } cases[] = {
        {L"en", L",", L"1.50 KB", L"12 bytes", L"Freed 93.25 MB"},
        {L"de", L",", L"1,50 KB", L"12 Bytes", L"93,25 MB freigegeben"},
        {L"fr", L",", L"1,50 Ko", L"12 octets", L"M\u00E9moire lib\u00E9r\u00E9e : 93,25 Mo"},
        {L"ja", L".", L"1.50 KB", L"12 \u30D0\u30A4\u30C8", nullptr},
    };
    for (const auto& c : cases) {
        SetCurrentLanguage(*FindLanguage(c.language), c.decimal);
        EXPECT_EQ(FormatByteSize(L"1536"), c.kb) << ToUtf8(c.language);
        EXPECT_EQ(FormatByteSize(L"12"), c.bytes) << ToUtf8(c.language);
        if (c.freed) EXPECT_EQ(RunReportText(0, 97779712), c.freed) << ToUtf8(c.language);
    }
}
