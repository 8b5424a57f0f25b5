#include "settings/historyformat.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr std::uint64_t kBytesPerMB = 1'048'576;
constexpr std::string_view kLineEnd = "\r\n";

constexpr std::array<std::string_view, 5> kTriggerNames = {"manual", "alarm", "scheduled", "request", "interval"};
constexpr std::array<std::string_view, 3> kResultNames = {"ok", "out of memory", "area failed"};

std::string_view TriggerName(TRunTrigger trigger)
{
    return kTriggerNames.at(static_cast<std::size_t>(trigger));
}

std::string_view ResultName(TRunResult result)
{
    return kResultNames.at(static_cast<std::size_t>(result));
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A number of at most maxDigits digits, within [minimum, maximum].
bool IsNumber(std::string_view text, std::size_t maxDigits, unsigned minimum, unsigned maximum)
{
    if (text.empty() || text.size() > maxDigits) return false;
    unsigned long long value = 0;
    for (char c : text) {
        if (!IsDigit(c)) return false;
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    return value >= minimum && value <= maximum;
}

// A whole number as this program writes it: no sign, no leading zero.
bool IsCount(std::string_view text)
{
    if (text.size() > 1 && text[0] == '0') return false;
    for (char c : text)
        if (!IsDigit(c)) return false;
    return !text.empty() && text.size() <= 20;
}

bool IsIsoTime(std::string_view t)
{
    // 2026-12-08T10:15:30+01:00
    if (t.size() != 25) return false;
    if (t[4] != '-' || t[7] != '-' || t[10] != 'T' || t[13] != ':' || t[16] != ':' || t[22] != ':') return false;
    if (t[19] != '+' && t[19] != '-') return false;
    return IsNumber(t.substr(0, 4), 4, 1601, 9999) && IsNumber(t.substr(5, 2), 2, 1, 12)
           && IsNumber(t.substr(8, 2), 2, 1, 31) && IsNumber(t.substr(11, 2), 2, 0, 23)
           && IsNumber(t.substr(14, 2), 2, 0, 59) && IsNumber(t.substr(17, 2), 2, 0, 60)
           && IsNumber(t.substr(20, 2), 2, 0, 14) && IsNumber(t.substr(23, 2), 2, 0, 59);
}

bool IsSeconds(std::string_view t)
{
    const std::size_t dot = t.find('.');
    return dot != std::string_view::npos && IsCount(t.substr(0, dot)) && t.size() - dot == 4
           && IsNumber(t.substr(dot + 1), 3, 0, 999);
}

// "+212.4" or "-0.3": a sign, a whole number, one decimal.
std::size_t SignedTenthsLength(std::string_view t)
{
    if (t.empty() || (t[0] != '+' && t[0] != '-')) return 0;
    const std::size_t dot = t.find('.');
    if (dot == std::string_view::npos || dot + 2 > t.size() || !IsCount(t.substr(1, dot - 1)) || !IsDigit(t[dot + 1]))
        return 0;
    return dot + 2;
}

// One area's result: "workingsets=+212.4(41/57)", "fill=-0.3",
// "filecache=skipped-rights", "combine=failed-1314".
bool IsAreaResult(std::string_view token)
{
    const std::size_t equals = token.find('=');
    if (equals == 0 || equals == std::string_view::npos) return false;
    for (char c : token.substr(0, equals))
        if (c < 'a' || c > 'z') return false;
    std::string_view result = token.substr(equals + 1);
    if (result.substr(0, 8) == "skipped-") {
        result.remove_prefix(8);
        if (result.empty()) return false;
        for (char c : result)
            if (c < 'a' || c > 'z') return false;
        return true;
    }
    if (result.substr(0, 7) == "failed-") return IsCount(result.substr(7));
    const std::size_t number = SignedTenthsLength(result);
    if (number == 0) return false;
    result.remove_prefix(number);
    if (result.empty()) return true;
    const std::size_t slash = result.find('/');
    return result.size() > 4 && result.front() == '(' && result.back() == ')' && slash != std::string_view::npos &&
           IsCount(result.substr(1, slash - 1)) && IsCount(result.substr(slash + 1, result.size() - slash - 2));
}

// The areas field: results separated by single spaces, or nothing.
bool IsAreas(std::string_view areas)
{
    while (!areas.empty()) {
        const std::size_t space = areas.find(' ');
        if (!IsAreaResult(areas.substr(0, space))) return false;
        if (space == std::string_view::npos) break;
        areas.remove_prefix(space + 1);
        if (areas.empty()) return false;
    }
    return true;
}

// The header's length: today's, or the one before runs had areas.
std::optional<std::size_t> HeaderLength(std::string_view file)
{
    for (std::string_view header : {kHistoryHeader, kHistoryHeaderWithoutAreas})
        if (file.substr(0, header.size()) == header) return header.size();
    return std::nullopt;
}

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& names)
{
    for (std::string_view name : names)
        if (text == name) return true;
    return false;
}

// One run's line, without its line end: with its areas, or, written before
// runs had them, without.
bool IsRecord(std::string_view line)
{
    std::array<std::string_view, 9> fields;
    std::size_t n = 0;
    for (;;) {
        const std::size_t comma = line.find(',');
        if (n == fields.size()) return false;
        fields[n++] = line.substr(0, comma);
        if (comma == std::string_view::npos) break;
        line.remove_prefix(comma + 1);
    }
    return (n == 8 || (n == 9 && IsAreas(fields[8]))) && IsIsoTime(fields[0]) && IsOneOf(fields[1], kTriggerNames) &&
           IsCount(fields[2]) && IsCount(fields[3]) && IsCount(fields[4]) && IsCount(fields[5]) &&
           IsSeconds(fields[6]) && IsOneOf(fields[7], kResultNames);
}

// The start of a line as this program writes it, cut short anywhere
// (its CR included, its LF not).
bool IsRecordStart(std::string_view text)
{
    constexpr std::size_t kLongestLine = 400;
    // Every line starts with its year.
    if (text.size() >= kLongestLine || (!text.empty() && !IsDigit(text[0]))) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool ok = IsDigit(c) || (c >= 'a' && c <= 'z') || c == 'T' || c == ',' || c == ':' || c == '-'
                        || c == '+' || c == '.' || c == ' ' || c == '=' || c == '(' || c == ')' || c == '/'
                        || (c == '\r' && i + 1 == text.size());
        if (!ok) return false;
    }
    return true;
}

// A count IsRecord has checked.
std::uint64_t Number(std::string_view digits)
{
    std::uint64_t value = 0;
    for (char c : digits) value = value * 10 + static_cast<unsigned>(c - '0');
    return value;
}

} // namespace

std::vector<TRunRecord> LastRuns(std::string_view file, std::size_t count)
{
    std::vector<TRunRecord> runs;
    while (!file.empty() && runs.size() < count) {
        // The last line, its CR LF left out.
        std::size_t end = file.size();
        while (end > 0 && (file[end - 1] == '\n' || file[end - 1] == '\r')) --end;
        const std::size_t newline = end == 0 ? std::string_view::npos : file.rfind('\n', end - 1);
        const std::size_t start = newline == std::string_view::npos ? 0 : newline + 1;
        const std::string_view line = file.substr(start, end - start);
        if (IsRecord(line)) {
            std::array<std::string_view, 9> f{};
            std::string_view rest = line;
            for (std::size_t i = 0; i < f.size() && !rest.empty(); ++i) {
                f[i] = rest.substr(0, rest.find(','));
                rest.remove_prefix(std::min(f[i].size() + 1, rest.size()));
            }
            const std::string_view t = f[0];
            TRunRecord run;
            const int offset = static_cast<int>(Number(t.substr(20, 2)) * 60 + Number(t.substr(23, 2)));
            run.Start = {static_cast<int>(Number(t.substr(0, 4))), static_cast<int>(Number(t.substr(5, 2))),
                         static_cast<int>(Number(t.substr(8, 2))), static_cast<int>(Number(t.substr(11, 2))),
                         static_cast<int>(Number(t.substr(14, 2))), static_cast<int>(Number(t.substr(17, 2))),
                         t[19] == '-' ? -offset : offset};
            for (std::size_t i = 0; i < kTriggerNames.size(); ++i)
                if (f[1] == kTriggerNames[i]) run.Trigger = static_cast<TRunTrigger>(i);
            run.AskedMB = Number(f[2]);
            run.FreeBeforeBytes = Number(f[3]) * kBytesPerMB;
            run.FreeAfterBytes = Number(f[4]) * kBytesPerMB;
            const std::size_t dot = f[6].find('.');
            run.Milliseconds = Number(f[6].substr(0, dot)) * 1000 + Number(f[6].substr(dot + 1));
            run.Result = f[7] == kResultNames[0] ? TRunResult::rrOk : TRunResult::rrOutOfMemory;
            run.Areas = f[8];
            runs.push_back(std::move(run));
        }
        file = file.substr(0, newline == std::string_view::npos ? 0 : newline);
    }
    return runs;
}

std::string FormatIsoTime(const TLocalTime& time)
{
    const int offset = time.OffsetMinutes < 0 ? -time.OffsetMinutes : time.OffsetMinutes;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", time.Year, time.Month, time.Day,
                  time.Hour, time.Minute, time.Second, time.OffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
}

std::int64_t UtcSeconds(const TLocalTime& time) noexcept
{
    // Days since 1970-01-01 in the proleptic Gregorian calendar, counted in
    // 400-year eras that begin in March, so that a leap day ends its year.
    const std::int64_t y = time.Year - (time.Month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (time.Month + (time.Month > 2 ? -3 : 9)) + 2) / 5 + time.Day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const std::int64_t days = era * 146'097 + dayOfEra - 719'468;
    return days * 86'400 + time.Hour * 3'600 + time.Minute * 60 + time.Second - time.OffsetMinutes * 60;
}

std::string FormatHistoryLine(const TRunRecord& r)
{
    const std::uint64_t freed = FreedBytes(r);
    std::string line = FormatIsoTime(r.Start);
    line += ',';
    line += TriggerName(r.Trigger);
    for (std::uint64_t mb : {r.AskedMB, r.FreeBeforeBytes / kBytesPerMB, r.FreeAfterBytes / kBytesPerMB, freed / kBytesPerMB}) {
        line += ',';
        line += std::to_string(mb);
    }
    char seconds[32];
    std::snprintf(seconds, sizeof seconds, ",%llu.%03llu,", static_cast<unsigned long long>(r.Milliseconds / 1000),
                  static_cast<unsigned long long>(r.Milliseconds % 1000));
    line += seconds;
    line += ResultName(r.Result);
    line += ',';
    line += r.Areas;
    line += kLineEnd;
    return line;
}

std::optional<std::size_t> CountHistoryRecords(std::string_view file)
{
    const std::optional<std::size_t> header = HeaderLength(file);
    if (!header) return std::nullopt;
    file.remove_prefix(*header);
    std::size_t count = 0;
    while (!file.empty()) {
        const std::size_t end = file.find(kLineEnd);
        if (end == std::string_view::npos || !IsRecord(file.substr(0, end))) return std::nullopt;
        file.remove_prefix(end + kLineEnd.size());
        ++count;
    }
    return count;
}

std::optional<std::size_t> UndamagedLength(std::string_view file)
{
    const std::optional<std::size_t> header = HeaderLength(file);
    if (!header) return std::nullopt;
    std::size_t whole = *header;
    for (;;) {
        const std::size_t end = file.find(kLineEnd, whole);
        if (end == std::string_view::npos || !IsRecord(file.substr(whole, end - whole))) break;
        whole = end + kLineEnd.size();
    }
    std::string_view tail = file.substr(whole);
    if (tail.empty()) return std::nullopt;
    // Zero bytes where the file grew but its data never reached the disk.
    const std::size_t zeros = tail.find_last_not_of('\0');
    tail = tail.substr(0, zeros == std::string_view::npos ? 0 : zeros + 1);
    if (!IsRecordStart(tail)) return std::nullopt;
    return whole;
}

std::string TrimmedHistory(std::string_view file)
{
    std::vector<std::size_t> lineStarts;
    for (std::size_t at = HeaderLength(file).value_or(file.size()); at < file.size();) {
        lineStarts.push_back(at);
        const std::size_t end = file.find(kLineEnd, at);
        if (end == std::string_view::npos) break;
        at = end + kLineEnd.size();
    }
    std::string trimmed(kHistoryHeader);
    if (lineStarts.empty()) return trimmed;
    const std::size_t first = lineStarts.size() > kHistoryKeep ? lineStarts.size() - kHistoryKeep : 0;
    trimmed.append(file.substr(lineStarts[first]));
    return trimmed;
}
