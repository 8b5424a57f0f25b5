#include "settings/historyformat.h"

#include <array>
#include <cstdio>
#include <vector>

namespace {

constexpr std::uint64_t kBytesPerMB = 1'048'576;
constexpr std::string_view kLineEnd = "\r\n";

constexpr std::array<std::string_view, 4> kTriggerNames = {"manual", "alarm", "scheduled", "request"};
constexpr std::array<std::string_view, 2> kResultNames = {"ok", "out of memory"};

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

template <std::size_t N>
bool IsOneOf(std::string_view text, const std::array<std::string_view, N>& names)
{
    for (std::string_view name : names)
        if (text == name) return true;
    return false;
}

// One run's line, without its line end.
bool IsRecord(std::string_view line)
{
    std::array<std::string_view, 8> fields;
    std::size_t n = 0;
    for (;;) {
        const std::size_t comma = line.find(',');
        if (n == fields.size()) return false;
        fields[n++] = line.substr(0, comma);
        if (comma == std::string_view::npos) break;
        line.remove_prefix(comma + 1);
    }
    return n == fields.size() && IsIsoTime(fields[0]) && IsOneOf(fields[1], kTriggerNames) && IsCount(fields[2])
           && IsCount(fields[3]) && IsCount(fields[4]) && IsCount(fields[5]) && IsSeconds(fields[6])
           && IsOneOf(fields[7], kResultNames);
}

// The start of a line as this program writes it, cut short anywhere
// (its CR included, its LF not).
bool IsRecordStart(std::string_view text)
{
    constexpr std::size_t kLongestLine = 160;
    // Every line starts with its year.
    if (text.size() >= kLongestLine || (!text.empty() && !IsDigit(text[0]))) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool ok = IsDigit(c) || (c >= 'a' && c <= 'z') || c == 'T' || c == ',' || c == ':' || c == '-'
                        || c == '+' || c == '.' || c == ' ' || (c == '\r' && i + 1 == text.size());
        if (!ok) return false;
    }
    return true;
}

} // namespace

std::string FormatIsoTime(const TLocalTime& time)
{
    const int offset = time.OffsetMinutes < 0 ? -time.OffsetMinutes : time.OffsetMinutes;
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02d:%02d", time.Year, time.Month, time.Day,
                  time.Hour, time.Minute, time.Second, time.OffsetMinutes < 0 ? '-' : '+', offset / 60, offset % 60);
    return text;
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
    line += kLineEnd;
    return line;
}

std::optional<std::size_t> CountHistoryRecords(std::string_view file)
{
    if (file.substr(0, kHistoryHeader.size()) != kHistoryHeader) return std::nullopt;
    file.remove_prefix(kHistoryHeader.size());
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
    if (file.substr(0, kHistoryHeader.size()) != kHistoryHeader) return std::nullopt;
    std::size_t whole = kHistoryHeader.size();
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
    for (std::size_t at = kHistoryHeader.size(); at < file.size();) {
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
