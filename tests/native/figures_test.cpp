#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "engine/bytesize.h"
#include "engine/memfigures.h"
#include "toolkit/convert.h"
#include "toolkit/errors.h"

TEST(BytesToMegabytes, KeepsItsThreeRanges)
{
    EXPECT_EQ(BytesToMegabytes(0), 0);
    EXPECT_EQ(BytesToMegabytes(-5'000'000), 0);
    EXPECT_EQ(BytesToMegabytes(1'000'000), 0);
    EXPECT_EQ(BytesToMegabytes(1'000'001), 0);
    EXPECT_EQ(BytesToMegabytes(1'049'172), 1);
    EXPECT_EQ(BytesToMegabytes(2'098'343), 1);
    EXPECT_EQ(BytesToMegabytes(2'098'344), 2);
    EXPECT_EQ(BytesToMegabytes(999'999'999), 953);
    EXPECT_EQ(BytesToMegabytes(1'000'000'000), 0);
    EXPECT_EQ(BytesToMegabytes(1'074'917'242), 0);
    EXPECT_EQ(BytesToMegabytes(1'074'917'243), 1);
    EXPECT_EQ(BytesToMegabytes(2'147'483'647), 1);
}

TEST(BytesToMegabytes, CarriesSixtyFourBitFiguresExactly)
{
    // 4 GiB and more were 0 in 32 bits; now they count on.
    EXPECT_EQ(BytesToMegabytes(4'294'967'296), 3);
    EXPECT_EQ(BytesToMegabytes(25'769'803'776), 23);
    // One byte short of a whole unit, where a double would round up.
    EXPECT_EQ(BytesToMegabytes(1'074'917'243LL * 5'000'000 - 1), 4'999'999);
    EXPECT_EQ(BytesToMegabytes(std::numeric_limits<std::int64_t>::max()), std::numeric_limits<std::int32_t>::max());
}

TEST(BytesToMegabytes, ReadingsConvertEveryFieldInOrder)
{
    TMemoryStatus s;
    s.TotalPhys = 256'000'000;
    s.AvailPhys = 2'098'344;
    s.TotalPageFile = 999'999'999;
    s.AvailPageFile = 1'000'000;
    s.TotalVirtual = 4'294'967'296;
    s.AvailVirtual = std::numeric_limits<std::uint64_t>::max();
    const MemoryReadings r = ToReadings(s);
    EXPECT_EQ(r.TotalPhys, 244);
    EXPECT_EQ(r.AvailPhys, 2);
    EXPECT_EQ(r.TotalPageFile, 953);
    EXPECT_EQ(r.AvailPageFile, 0);
    EXPECT_EQ(r.TotalVirtual, 3);
    EXPECT_EQ(r.AvailVirtual, std::numeric_limits<std::int32_t>::max());
}

TEST(FormatByteSize, ScalesToTheLargestUnitThatIsNotZero)
{
    EXPECT_EQ(FormatByteSize(L"0"), L"0 bytes");
    EXPECT_EQ(FormatByteSize(L"1023"), L"1023 bytes");
    EXPECT_EQ(FormatByteSize(L"-1023"), L"-1023 bytes");
    EXPECT_EQ(FormatByteSize(L"1024"), L"1.00 KB");
    EXPECT_EQ(FormatByteSize(L"1536"), L"1.50 KB");
    EXPECT_EQ(FormatByteSize(L"1048575"), L"1024.00 KB");
    EXPECT_EQ(FormatByteSize(L"1048576"), L"1.00 MB");
    EXPECT_EQ(FormatByteSize(L"134217728"), L"128.00 MB");
    EXPECT_EQ(FormatByteSize(L"97779712"), L"93.25 MB");
    EXPECT_EQ(FormatByteSize(L"1073741824"), L"1.00 GB");
    EXPECT_EQ(FormatByteSize(L"1610612736"), L"1.50 GB");
    EXPECT_EQ(FormatByteSize(L"25769803776"), L"24.00 GB");
    EXPECT_EQ(FormatByteSize(L"-2048"), L"-2.00 KB");
    EXPECT_EQ(FormatByteSize(L"+2048"), L"2.00 KB");
}

TEST(FormatByteSize, RoundsToTheNearestHundredthHalvesAwayFromZero)
{
    EXPECT_EQ(FormatByteSize(L"1034"), L"1.01 KB");  // 1.0097...
    EXPECT_EQ(FormatByteSize(L"1029"), L"1.00 KB");  // 1.0048...
    EXPECT_EQ(FormatByteSize(L"1152"), L"1.13 KB");  // exactly 1.125
    EXPECT_EQ(FormatByteSize(L"-1152"), L"-1.13 KB");
    EXPECT_EQ(FormatByteSize(L"1073741823"), L"1024.00 MB");
}

TEST(FormatByteSize, HandlesTheWholeSixtyFourBitRange)
{
    EXPECT_EQ(FormatByteSize(L"9223372036854775807"), L"8589934592.00 GB");
    EXPECT_EQ(FormatByteSize(L"-9223372036854775808"), L"-8589934592.00 GB");
}

TEST(FormatByteSize, RejectsTextThatIsNotADecimalInteger)
{
    for (const wchar_t* bad : {L"", L"-", L"+", L" 12", L"12 ", L"1.5", L"0x10", L"$10", L"12a", L"--1",
                               L"9223372036854775808", L"-9223372036854775809", L"\uFF11"}) {
        EXPECT_THROW(FormatByteSize(bad), EConvertError) << ToUtf8(bad);
    }
    try {
        FormatByteSize(L"abc");
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), L"'abc' is not a valid integer value");
    }
}

TEST(StrToInt, ChecksTheThirtyTwoBitRange)
{
    EXPECT_EQ(StrToInt(L"-2147483648"), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(StrToInt(L"2147483647"), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(StrToInt(L"007"), 7);
    EXPECT_THROW(StrToInt(L"2147483648"), EConvertError);
    EXPECT_THROW(StrToInt(L"-2147483649"), EConvertError);
}
