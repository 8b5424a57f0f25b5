// A portable copy's settings file as people edit it: values found under the
// program's section whatever their case and spacing, and a value written
// back changes its own line and nothing else of the file.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/inifile.h"

namespace {

std::string Utf16(const std::u16string& text)
{
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

} // namespace

TEST(IniDocument, ReadsOnlyTheProgramsSectionInEveryEncodingPeopleSave)
{
    const struct {
        const char* what;
        std::string bytes;
        const wchar_t* name;
        std::optional<std::wstring> value;
    } cases[] = {
        {"plain", "[Quenfel]\r\nRamToFree=512\r\n", L"RamToFree", L"512"},
        {"any case, spaces around", "[quenfel]\n  ramtofree =  512  \n", L"RamToFree", L"512"},
        {"UTF-8 with its mark", "\xEF\xBB\xBF[Quenfel]\nLanguage=el\n", L"Language", L"el"},
        {"UTF-16 as Notepad saves it", Utf16(u"[Quenfel]\r\nLanguage=\u0440\u0443\r\n"), L"Language", L"\u0440\u0443"},
        {"another section's", "[Other]\nRamToFree=1\n[Quenfel]\n", L"RamToFree", std::nullopt},
        {"before any section", "RamToFree=1\n[Quenfel]\n", L"RamToFree", std::nullopt},
        {"the first of two", "[Quenfel]\nTheme=1\nTheme=2\n", L"Theme", L"1"},
        {"a comment", "[Quenfel]\n;Theme=1\n# Theme=2\n", L"Theme", std::nullopt},
        {"empty", "[Quenfel]\nTheme=\n", L"Theme", L""},
        {"no section at all", "", L"Theme", std::nullopt},
        {"binary before it", std::string("\x00\xFF\x01\n[Quenfel]\nTheme=1\n", 22), L"Theme", L"1"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TIniDocument::FromBytes(c.bytes).Value(c.name), c.value) << c.what;
}

TEST(IniDocument, AWrittenValueChangesItsOwnLineAndKeepsEverythingElse)
{
    const std::string start =
        "\xEF\xBB\xBF; kept by hand\r\n[Quenfel]\r\nTheme=1\r\nUnknownLater=yes\r\n\r\n[Other]\r\nTheme=9\r\n";
    TIniDocument document = TIniDocument::FromBytes(start);
    document.SetValue(L"theme", L"2");
    document.SetValue(L"Language", L"el");
    EXPECT_EQ(document.Bytes(), "\xEF\xBB\xBF; kept by hand\r\n[Quenfel]\r\ntheme=2\r\nUnknownLater=yes\r\n"
                                "Language=el\r\n\r\n[Other]\r\nTheme=9\r\n");

    // No section yet: one at the end; a line break cannot start a line.
    TIniDocument bare = TIniDocument::FromBytes("; only a comment");
    bare.SetValue(L"TrimExclude", L"a.exe\r\n[Other]");
    EXPECT_EQ(bare.Bytes(), "\xEF\xBB\xBF; only a comment\r\n\r\n[Quenfel]\r\nTrimExclude=a.exe  [Other]\r\n");
    EXPECT_EQ(TIniDocument::FromBytes(bare.Bytes()).Value(L"TrimExclude"), L"a.exe  [Other]");

    // Read again as written, Unicode and all.
    TIniDocument written = TIniDocument::FromBytes("");
    written.SetValue(L"Language", L"\u0e44\u0e17\u0e22");
    EXPECT_EQ(TIniDocument::FromBytes(written.Bytes()).Value(L"Language"), L"\u0e44\u0e17\u0e22");
}
