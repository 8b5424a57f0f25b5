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
