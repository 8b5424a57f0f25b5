// The text a run leaves behind, and the largest run the slider offers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/memfigures.h"
#include "engine/runreport.h"

TEST(RunReportText, TellsTheRiseInFreeMemoryOrThatThereWasNoneAndWhatWindowsRefused)
{
    const struct {
        std::uint64_t before, after;
        const wchar_t* expected;
        std::vector<TMemoryArea> refused = {};
    } cases[] = {
        {1'000'000'000ull, 1'000'000'000ull + 851'968'000ull, L"Freed 812.50 MB"},
        {0, 1024, L"Freed 1.00 KB"},
        {0, 512, L"Freed 512 bytes"},
        {1'073'741'824ull, 3'221'225'472ull, L"Freed 2.00 GB"},
        {5'000'000'000ull, 5'000'000'001ull, L"Freed 1 bytes"},
        {2'000'000'000ull, 2'000'000'000ull, L"No memory was freed"},
        // Others took more than the run gave back: no wrapped-around figure.
        {2'000'000'000ull, 1'000'000'000ull, L"No memory was freed"},
        {1, 0, L"No memory was freed"},
        {0, 1024, L"Freed 1.00 KB; Windows refused: Whole standby list", {TMemoryArea::maStandby}},
        {1, 0, L"No memory was freed; Windows refused: System file cache, Combine identical pages",
         {TMemoryArea::maFileCache, TMemoryArea::maCombine}},
    };
    for (const auto& c : cases) {
        const TRunReport report = RunReport(c.before, c.after, c.refused);
        EXPECT_EQ(report.Full, c.expected) << c.before << " -> " << c.after;
        EXPECT_EQ(report.Lines.size(), c.refused.empty() ? 1u : 2u) << "the window's line tells a refusal too";
    }
}

TEST(RamToFreeMaximum, HalfThePhysicalMemoryWithinTheAddressSpace)
{
    const struct {
        std::uint64_t totalPhys, availVirtual;
        std::int32_t expected;
    } cases[] = {
        {256'000'000ull, 1ull << 40, 128},
        {64'000'000'000ull, 2'000ull * 1'049'172 + 5, 2000},
        {1'999'999ull, 1ull << 40, 0},
        {~0ull, ~0ull, 2'147'483'647},
    };
    for (const auto& c : cases) {
        TMemoryStatus s;
        s.TotalPhys = c.totalPhys;
        s.AvailVirtual = c.availVirtual;
        EXPECT_EQ(RamToFreeMaximum(s, 1'049'172), c.expected) << c.totalPhys;
    }
}
