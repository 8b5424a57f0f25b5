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
