// The language tables: which one a user's Windows languages give, the
// placeholders, and figures written as the language writes them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/bytesize.h"
#include "engine/runreport.h"
#include "toolkit/errors.h"
#include "toolkit/textfit.h"
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
        {{L"pt-PT"}, L"pt-PT"},
        {{L"pt-AO"}, L"pt-PT"},
        {{L"pt"}, L"pt-BR"},
        {{L"sr-Cyrl-RS"}, L"sr-Latn"},
        {{L"sr"}, L"sr-Latn"},
        {{L"nn-NO"}, L"nb"},
        {{L"no"}, L"nb"},
        {{L"nb-NO"}, L"nb"},
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

// Room for text: a box whose text fits keeps its design place exactly; one
// that does not widens by what it lacks and moves only what follows it.
TEST(TextFit, OnlyWhatDoesNotFitGrowsAndOnlyWhatItPushesMoves)
{
    // A check box, a spin edit and a label in a row, as designed at 96 dpi.
    const TFitItem designed[] = {{10, 219, 0}, {231, 51, 0}, {288, 16, 0}};
    const struct {
        const char* what;
        int dpi;
        int needed[3];
        TFitPlace places[3];
        int growth;
    } cases[] = {
        {"every text fits", 96, {219, 0, 16}, {{10, 219}, {231, 51}, {288, 16}}, 0},
        {"the first is 37 short", 96, {256, 0, 14}, {{10, 256}, {268, 51}, {325, 16}}, 37},
        {"only the last is short", 96, {100, 0, 30}, {{10, 219}, {231, 51}, {288, 30}}, 14},
        {"two are short", 96, {229, 0, 20}, {{10, 229}, {241, 51}, {298, 20}}, 14},
        {"at 144 dpi, fitting", 144, {300, 0, 24}, {{15, 329}, {347, 76}, {432, 24}}, 0},
        {"at 144 dpi, short", 144, {340, 0, 24}, {{15, 340}, {358, 76}, {443, 24}}, 11},
    };
    for (const auto& c : cases) {
        TFitItem row[3];
        for (int i = 0; i < 3; ++i) row[i] = {designed[i].Left, designed[i].Width, c.needed[i]};
        TFitPlace places[3];
        EXPECT_EQ(FitRow(row, c.dpi, places), c.growth) << c.what;
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(places[i].Left, c.places[i].Left) << c.what << ", box " << i;
            EXPECT_EQ(places[i].Width, c.places[i].Width) << c.what << ", box " << i;
        }
    }
    EXPECT_EQ(Overflow(3, 150, 96, 150), 0);
    EXPECT_EQ(Overflow(3, 150, 96, 151), 1);
    // At 120 dpi the box's edges land on 4 and 191: 187 pixels, not 150 * 1.25 rounded.
    EXPECT_EQ(Overflow(3, 150, 120, 188), 1);
    EXPECT_EQ(Overflow(3, 150, 144, 226), 1);
}
