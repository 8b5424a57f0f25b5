#include <gtest/gtest.h>

#include "toolkit/errors.h"

TEST(MessageText, PlaceholderIsReplacedOnce)
{
    EXPECT_EQ(FormatMessageText(L"Invalid data type for '%s'", L"KERNEL\\CPUUsage"),
              L"Invalid data type for 'KERNEL\\CPUUsage'");
    EXPECT_EQ(FormatMessageText(L"List index out of bounds (%d)", -1), L"List index out of bounds (-1)");
    EXPECT_EQ(FormatMessageText(L"no placeholder", L"x"), L"no placeholder");
    EXPECT_EQ(FormatMessageText(L"100% of %s", L"x"), L"100% of x");
}

TEST(MessageText, Utf8RoundTripKeepsEveryPlane)
{
    const std::wstring text = L"Jos\u00e9 \u65e5\u672c C:\\Program Files";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(ToUtf8(L"\u00e9"), "\xC3\xA9");
}

TEST(MessageText, MalformedUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(FromUtf8("a\xFF" "b"), L"a\uFFFD" L"b");
    EXPECT_EQ(FromUtf8("\xE6\x97"), L"\uFFFD\uFFFD");
}

TEST(Errors, CarryTheirFixedTexts)
{
    EXPECT_EQ(EOutOfMemory().Message(), L"Out of memory");
    EXPECT_EQ(ERangeError().Message(), L"Range check error");
    EXPECT_STREQ(ERangeError().what(), "Range check error");
}

// A full stop ends a report's text unless a sentence end of any script the
// program speaks already does.
TEST(ErrorReport, AFullStopEndsTheTextUnlessASentenceEndDoes)
{
    const struct {
        std::wstring message, shown;
    } cases[] = {
        {L"Disk full", L"Disk full."},
        {L"Error 5", L"Error 5."},
        {L"Done.", L"Done."},
        {L"(see above)", L"(see above)."},
        {L"Path /", L"Path /."},
        {L"", L""},
        {L"Really?", L"Really?"},
        {L"Stop!", L"Stop!"},
        {L"Wait\u2026", L"Wait\u2026"},
        {L"\u30E1\u30E2\u30EA\u4E0D\u8DB3\u3002", L"\u30E1\u30E2\u30EA\u4E0D\u8DB3\u3002"},
        {L"\u5185\u5B58\u4E0D\u8DB3\uFF01", L"\u5185\u5B58\u4E0D\u8DB3\uFF01"},
        {L"\u7D42\u4E86\uFF1F", L"\u7D42\u4E86\uFF1F"},
        {L"\u0647\u0644\u061F", L"\u0647\u0644\u061F"},
        {L"\u0645\u06D4", L"\u0645\u06D4"},
        {L"\u0924\u094D\u0930\u0941\u091F\u093F\u0964", L"\u0924\u094D\u0930\u0941\u091F\u093F\u0964"},
        {L"\u1235\u1362", L"\u1235\u1362"},
        {L"\u05E9\u05D2\u05D9\u05D0\u05D4", L"\u05E9\u05D2\u05D9\u05D0\u05D4."},
        {L"\u0E2B\u0E19\u0E48\u0E27\u0E22\u0E04\u0E27\u0E32\u0E21\u0E08\u0E33\u0E44\u0E21\u0E48\u0E1E\u0E2D",
         L"\u0E2B\u0E19\u0E48\u0E27\u0E22\u0E04\u0E27\u0E32\u0E21\u0E08\u0E33\u0E44\u0E21\u0E48\u0E1E\u0E2D"},
        {L"\u0E23\u0E2B\u0E31\u0E2A: 5", L"\u0E23\u0E2B\u0E31\u0E2A: 5."},
    };
    for (const auto& c : cases) EXPECT_EQ(ErrorReportText(c.message), c.shown) << ToUtf8(c.message);
}
