#include <gtest/gtest.h>

#include "settings/regvalue.h"
#include "toolkit/commandline.h"
#include "toolkit/errors.h"

TEST(RegValue, ConvertsBetweenTextAndInteger)
{
    EXPECT_EQ(TRegValue(L"1").AsText(), L"1");
    EXPECT_EQ(TRegValue(L"-42").AsInteger(), -42);
    EXPECT_EQ(TRegValue(7).AsText(), L"7");
    EXPECT_EQ(TRegValue(-2147483647 - 1).AsInteger(), -2147483647 - 1);
    EXPECT_TRUE(TRegValue(L"x").IsText());
    EXPECT_FALSE(TRegValue(3).IsText());
    EXPECT_THROW(TRegValue(L"true").AsInteger(), EConvertError);
    EXPECT_THROW(TRegValue(L"4294967296").AsInteger(), EConvertError);
}

TEST(CommandForPath, QuotesOnlyPathsThatTheShellWouldSplit)
{
    EXPECT_EQ(CommandForPath(L"C:\\Tools\\Quenfel.exe"), L"C:\\Tools\\Quenfel.exe");
    EXPECT_EQ(CommandForPath(L"C:\\Program Files\\Quenfel\\Quenfel.exe"),
              L"\"C:\\Program Files\\Quenfel\\Quenfel.exe\"");
    EXPECT_EQ(CommandForPath(L"\"C:\\Program Files\\Q.exe\""), L"\"C:\\Program Files\\Q.exe\"");
    EXPECT_EQ(CommandForPath(L"C:\\a\tb.exe"), L"\"C:\\a\tb.exe\"");
}

TEST(CommandLineWords, SplitsAsTheRuntimeDoes)
{
    using Words = std::vector<std::wstring>;
    const struct {
        const wchar_t* line;
        Words words;
    } cases[] = {
        {L"", {}},
        {L"Quenfel.exe", {L"Quenfel.exe"}},
        {L"Quenfel.exe /tray", {L"Quenfel.exe", L"/tray"}},
        {L"  Quenfel.exe", {L"", L"Quenfel.exe"}},  // a leading blank leaves the name empty
        {L"Quenfel.exe \t /tray\t ", {L"Quenfel.exe", L"/tray"}},
        {L"\"C:\\Program Files\\Quenfel\\Quenfel.exe\" /tray", {L"C:\\Program Files\\Quenfel\\Quenfel.exe", L"/tray"}},
        {L"\"C:\\Program Files\\Quenfel\\Quenfel.exe\"/tray", {L"C:\\Program Files\\Quenfel\\Quenfel.exe", L"/tray"}},
        {L"\"C:\\no end", {L"C:\\no end"}},
        {L"C:\\a\\b.exe \"/tray\"", {L"C:\\a\\b.exe", L"/tray"}},
        {L"x \"/tr\"ay", {L"x", L"/tray"}},
        {L"x \"a b\" c", {L"x", L"a b", L"c"}},
        {L"x \"\" c", {L"x", L"", L"c"}},
        {L"x a\\\\b", {L"x", L"a\\\\b"}},            // backslashes before no quote stay
        {L"x a\\\"b", {L"x", L"a\"b"}},              // 2n+1 before a quote: n and a literal quote
        {L"x a\\\\\"b c\"", {L"x", L"a\\b c"}},      // 2n before a quote: n, and the quote groups
        {L"x \"a\"\"b\"", {L"x", L"a\"b"}},          // a doubled quote inside quotes
        {L"x \"unclosed arg", {L"x", L"unclosed arg"}},
        {L"x \\\\\\", {L"x", L"\\\\\\"}},
    };
    for (const auto& c : cases) EXPECT_EQ(CommandLineWords(c.line), c.words) << "line: " << ToUtf8(c.line);
}
