// The run history's stored form: the line a run leaves, which stored files
// count as whole, and the cut back to the last runs.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "settings/historyformat.h"

namespace {

constexpr std::uint64_t MB = 1'048'576;

std::string History(std::size_t runs)
{
    std::string file(kHistoryHeader);
    for (std::size_t i = 0; i < runs; ++i) {
        TRunRecord r;
        r.Start = {2026, 12, 8, 10, 0, 0, 60};
        r.AskedMB = i;  // tells the lines apart
        file += FormatHistoryLine(r);
    }
    return file;
}

} // namespace

TEST(HistoryFormat, ALineHoldsTheRunsFiguresInWholeMegabytes)
{
    const struct {
        const char* what;
        TRunRecord run;
        const char* expected;
    } cases[] = {
        {"an alarm run east of UTC, with an area refused",
         {{2026, 12, 8, 9, 5, 7, 60}, TRunTrigger::rtAlarm, 50, 100 * MB + 5, 150 * MB + 3, 2'345,
          TRunResult::rrAreaFailed, "workingsets=+212.4(41/57) filecache=skipped-bitness fill=-0.3 combine=failed-1314"},
         "2026-12-08T09:05:07+01:00,alarm,50,100,150,49,2.345,area failed,"
         "workingsets=+212.4(41/57) filecache=skipped-bitness fill=-0.3 combine=failed-1314\r\n"},
        {"west of UTC, half an hour off",
         {{2026, 1, 31, 23, 59, 59, -570}, TRunTrigger::rtManual, 812, 0, 851'968'000, 0, TRunResult::rrOk, ""},
         "2026-01-31T23:59:59-09:30,manual,812,0,812,812,0.000,ok,\r\n"},
        {"less free after the run: nothing freed",
         {{2026, 6, 1, 0, 0, 0, 0}, TRunTrigger::rtScheduled, 7, 900 * MB, 800 * MB, 61'005, TRunResult::rrOk, ""},
         "2026-06-01T00:00:00+00:00,scheduled,7,900,800,0,61.005,ok,\r\n"},
        {"handed over, out of memory",
         {{2026, 6, 1, 0, 0, 0, 345}, TRunTrigger::rtRequest, 4000, 1 << 20, 1 << 20, 999, TRunResult::rrOutOfMemory,
          "fill=failed-8"},
         "2026-06-01T00:00:00+05:45,request,4000,1,1,0,0.999,out of memory,fill=failed-8\r\n"},
        {"on the interval",
         {{2026, 6, 1, 0, 0, 0, 0}, TRunTrigger::rtInterval, 1, 0, 0, 0, TRunResult::rrOk, "standby=+0.0"},
         "2026-06-01T00:00:00+00:00,interval,1,0,0,0,0.000,ok,standby=+0.0\r\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatHistoryLine(c.run), c.expected) << c.what;
        EXPECT_EQ(CountHistoryRecords(std::string(kHistoryHeader) + c.expected), 1u) << c.what;
    }
}

// Whole files count; one damaged only at its end, as a power cut leaves it,
// keeps its whole lines; anything else is not a history of ours.
TEST(HistoryFormat, OnlyAWholeFileOfOursCounts)
{
    const std::string header(kHistoryHeader);
    const std::string oldHeader(kHistoryHeaderWithoutAreas);
    const std::string line = "2026-12-08T09:05:07+01:00,alarm,50,100,150,49,2.345,ok\r\n";
    const std::string run = "2026-12-08T09:05:07+01:00,manual,50,100,150,49,2.345,ok,";
    const std::string withAreas = run + "workingsets=+1.0(1/2) filecache=skipped-windows fill=+49.0\r\n";
    const std::size_t oneLine = header.size() + line.size();
    const std::string zeros(300, '\0');
    const struct {
        const char* what;
        std::string file;
        std::optional<std::size_t> runs;
        std::optional<std::size_t> kept = std::nullopt;  // the whole part of a file damaged at its end
    } cases[] = {
        {"only the header", header, 0u},
        {"two runs", header + line + line, 2u},
        {"empty", "", std::nullopt},
        {"no header", line, std::nullopt},
        {"header cut short", header.substr(0, 20), std::nullopt},
        {"last line cut short", header + line + line.substr(0, 30), std::nullopt, oneLine},
        {"last line without its end", header + line.substr(0, line.size() - 2), std::nullopt, header.size()},
        {"last line without its line feed", header + line + line.substr(0, line.size() - 1), std::nullopt, oneLine},
        {"zero bytes after the last line", header + line + zeros, std::nullopt, oneLine},
        {"zero bytes after the header", header + zeros, std::nullopt, header.size()},
        {"a line cut short, then zero bytes", header + line + line.substr(0, 12) + zeros, std::nullopt, oneLine},
        {"zero bytes, then more text", header + line + zeros + line.substr(0, 12), std::nullopt},
        {"a damaged line before a whole one", header + line.substr(0, 12) + line, std::nullopt},
        {"another program's text at the end", header + line + "hello", std::nullopt},
        {"header followed by zero bytes only in part", header.substr(0, 20) + zeros, std::nullopt},
        {"bare line feeds", header + "2026-12-08T09:05:07+01:00,alarm,50,100,150,49,2.345,ok\n", std::nullopt},
        {"a byte-order mark", "\xEF\xBB\xBF" + header + line, std::nullopt},
        {"an empty line", header + "\r\n", std::nullopt},
        {"a field too many", header + "2026-12-08T09:05:07+01:00,alarm,50,100,150,49,2.345,ok,x\r\n", std::nullopt},
        {"a line with its areas", header + withAreas + run + "\r\n", 2u},
        {"a file from before areas", oldHeader + line + line, 2u},
        {"a file from before areas that took new lines", oldHeader + line + withAreas, 2u},
        {"a file from before areas, damaged at its end", oldHeader + line + withAreas.substr(0, 80), std::nullopt,
         oldHeader.size() + line.size()},
        {"an area without its result", header + run + "fill=\r\n", std::nullopt},
        {"an area's figure without its sign", header + run + "fill=12.5\r\n", std::nullopt},
        {"an area's figure with two decimals", header + run + "fill=+12.50\r\n", std::nullopt},
        {"an area's counts unclosed", header + run + "workingsets=+1.0(1/2\r\n", std::nullopt},
        {"an area's error not a number", header + run + "fill=failed-x\r\n", std::nullopt},
        {"two spaces between areas", header + run + "fill=+1.0  standby=+1.0\r\n", std::nullopt},
        {"a space after the last area", header + run + "fill=+1.0 \r\n", std::nullopt},
        {"a field after the areas", header + run + "fill=+1.0,x\r\n", std::nullopt},
        {"a field too few", header + "2026-12-08T09:05:07+01:00,alarm,50,100,150,2.345,ok\r\n", std::nullopt},
        {"unknown trigger", header + "2026-12-08T09:05:07+01:00,timer,50,100,150,49,2.345,ok\r\n", std::nullopt},
        {"unknown result", header + "2026-12-08T09:05:07+01:00,alarm,50,100,150,49,2.345,fine\r\n", std::nullopt},
        {"negative figure", header + "2026-12-08T09:05:07+01:00,alarm,-50,100,150,49,2.345,ok\r\n", std::nullopt},
        {"figure with a leading zero", header + "2026-12-08T09:05:07+01:00,alarm,050,100,150,49,2.345,ok\r\n",
         std::nullopt},
        {"month 13", header + "2026-13-08T09:05:07+01:00,alarm,50,100,150,49,2.345,ok\r\n", std::nullopt},
        {"no offset", header + "2026-12-08T09:05:07Z,alarm,50,100,150,49,2.345,ok\r\n", std::nullopt},
        {"seconds without decimals", header + "2026-12-08T09:05:07+01:00,alarm,50,100,150,49,2,ok\r\n",
         std::nullopt},
        {"a figure past 20 digits", header + "2026-12-08T09:05:07+01:00,alarm,123456789012345678901,1,1,0,0.000,ok\r\n",
         std::nullopt},
        {"a zero byte", header + std::string("2026-12-08T09:05:07+01:00,alarm,5\0,100,150,49,2.345,ok\r\n", 56),
         std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CountHistoryRecords(c.file), c.runs) << c.what;
        EXPECT_EQ(UndamagedLength(c.file), c.kept) << c.what;
    }
}

TEST(HistoryFormat, TheCutKeepsTheHeaderAndTheLastRuns)
{
    const std::string full = History(kHistoryTrimAbove + 1);
    const std::string trimmed = TrimmedHistory(full);
    ASSERT_EQ(CountHistoryRecords(trimmed), kHistoryKeep);
    // The newest runs, whole and in order: the file's own tail.
    EXPECT_EQ(trimmed.substr(kHistoryHeader.size()), full.substr(full.size() - (trimmed.size() - kHistoryHeader.size())));
    EXPECT_NE(trimmed.find(",1100,"), std::string::npos);
    EXPECT_EQ(trimmed.find(",100,"), std::string::npos);
    EXPECT_NE(trimmed.find(",101,"), std::string::npos);

    EXPECT_EQ(TrimmedHistory(History(3)), History(3));
    EXPECT_EQ(TrimmedHistory(History(0)), History(0));
    // A file from before areas keeps its lines under today's header.
    const std::string old = History(2).substr(kHistoryHeader.size());
    EXPECT_EQ(TrimmedHistory(std::string(kHistoryHeaderWithoutAreas) + old), std::string(kHistoryHeader) + old);
}
