// The run history's stored form: a UTF-8 CSV file, one header line and then
// one line per run, each ending in CR LF. Platform-free: formatting a line,
// checking a stored file, and trimming it to its last runs.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What started a run: the user (the button or the tray menu), the alarm,
// "/optimize" alone, "/optimize" handed to the copy that was running, or the
// interval the user chose.
enum class TRunTrigger : std::uint8_t { rtManual, rtAlarm, rtScheduled, rtRequest, rtInterval };
// A run whose fill ran out of memory is rrOutOfMemory, as it always was;
// one in which Windows refused another area is rrAreaFailed.
enum class TRunResult : std::uint8_t { rrOk, rrOutOfMemory, rrAreaFailed };

// A wall-clock time as the user's clock shows it, with its offset from UTC.
struct TLocalTime {
    int Year = 1970, Month = 1, Day = 1, Hour = 0, Minute = 0, Second = 0;
    int OffsetMinutes = 0;  // local time minus UTC
};

struct TRunRecord {
    TLocalTime Start;
    TRunTrigger Trigger = TRunTrigger::rtManual;
    std::uint64_t AskedMB = 0;          // the amount the run was set to free
    std::uint64_t FreeBeforeBytes = 0;  // available physical memory
    std::uint64_t FreeAfterBytes = 0;
    std::uint64_t Milliseconds = 0;
    TRunResult Result = TRunResult::rrOk;
    // What each memory area the run took gave: "workingsets=+212.4(41/57)
    // fill=+380.0", as the engine words it.
    std::string Areas;
};

// The rise in free memory across the run; 0 when it did not rise.
inline std::uint64_t FreedBytes(const TRunRecord& run)
{
    return run.FreeAfterBytes > run.FreeBeforeBytes ? run.FreeAfterBytes - run.FreeBeforeBytes : 0;
}

inline constexpr std::string_view kHistoryHeader =
    "start,trigger,MB asked for,free MB before,free MB after,MB freed,seconds,result,areas\r\n";
// The header of files written before runs had areas. Such a file keeps its
// lines, which have no areas field, and takes new ones as they are.
inline constexpr std::string_view kHistoryHeaderWithoutAreas =
    "start,trigger,MB asked for,free MB before,free MB after,MB freed,seconds,result\r\n";
// The file keeps the last kHistoryKeep runs; it is cut back to them once it
// holds more than kHistoryTrimAbove, so that not every run rewrites it.
inline constexpr std::size_t kHistoryKeep = 1000;
inline constexpr std::size_t kHistoryTrimAbove = 1100;

// "2026-12-08T10:15:30+01:00".
std::string FormatIsoTime(const TLocalTime& time);
// The same moment in seconds since 1970-01-01 UTC, as the memory samples
// keep time.
std::int64_t UtcSeconds(const TLocalTime& time) noexcept;

// One line of the file, CR LF included. Free memory is in whole MB of
// 1,048,576 bytes; what a run freed is the rise in free memory, 0 when it
// did not rise; the seconds carry three decimals; the areas come last.
std::string FormatHistoryLine(const TRunRecord& record);

// The number of runs a stored file holds, or nothing when it is not a whole
// file of this program's (no header, a line that is not a run, a last line
// cut short).
std::optional<std::size_t> CountHistoryRecords(std::string_view file);

// When a stored file's only damage is at its end, as a power cut leaves it
// (a last line cut short, zero bytes where lines were still to come), the
// length of the whole history before that tail; nothing when the file is
// whole, or damaged anywhere else, or its header is not whole.
std::optional<std::size_t> UndamagedLength(std::string_view file);

// The header and the last kHistoryKeep lines of a file that
// CountHistoryRecords accepts; an older file gets today's header.
std::string TrimmedHistory(std::string_view file);

// The last count runs of a stored file, newest first, as they were recorded
// (free memory in whole MB); a line that is not a whole run (a tail a power
// cut left) is passed over.
std::vector<TRunRecord> LastRuns(std::string_view file, std::size_t count);
