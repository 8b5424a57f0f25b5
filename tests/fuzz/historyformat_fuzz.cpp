// Feeds arbitrary bytes as a stored run history: a file that counts as whole
// must cut back to its own last runs, and still count; one damaged at its end
// must keep a whole part. The same bytes also
// make a run's figures: every line a run can leave must count as one run.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "settings/historyformat.h"

namespace {

std::uint64_t Take(const std::uint8_t*& data, std::size_t& size)
{
    std::uint64_t v = 0;
    const std::size_t n = size < 8 ? size : 8;
    std::memcpy(&v, data, n);
    data += n;
    size -= n;
    return v;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view file(reinterpret_cast<const char*>(data), size);
    if (const auto runs = CountHistoryRecords(file)) {
        const std::string trimmed = TrimmedHistory(file);
        const std::size_t kept = *runs < kHistoryKeep ? *runs : kHistoryKeep;
        if (CountHistoryRecords(trimmed) != kept) std::abort();
        const std::string_view body = std::string_view(trimmed).substr(kHistoryHeader.size());
        if (file.substr(file.size() - body.size()) != body) std::abort();
    }
    // The last runs read back: as many as a whole file holds, up to the count.
    if (const auto runs = CountHistoryRecords(file); runs && LastRuns(file, 5).size() != std::min<std::size_t>(*runs, 5))
        std::abort();
    // A file damaged only at its end keeps a whole history, never one that
    // counts as whole already.
    if (const auto whole = UndamagedLength(file)) {
        if (CountHistoryRecords(file) || *whole >= file.size() || !CountHistoryRecords(file.substr(0, *whole)))
            std::abort();
    }

    TRunRecord r;
    r.Start.Year = static_cast<int>(1601 + Take(data, size) % 8399);
    r.Start.Month = static_cast<int>(1 + Take(data, size) % 12);
    r.Start.Day = static_cast<int>(1 + Take(data, size) % 31);
    r.Start.Hour = static_cast<int>(Take(data, size) % 24);
    r.Start.Minute = static_cast<int>(Take(data, size) % 60);
    r.Start.Second = static_cast<int>(Take(data, size) % 61);
    r.Start.OffsetMinutes = static_cast<int>(Take(data, size) % (2 * 14 * 60 + 1)) - 14 * 60;
    r.Trigger = static_cast<TRunTrigger>(Take(data, size) % 4);
    r.AskedMB = Take(data, size);
    r.FreeBeforeBytes = Take(data, size);
    r.FreeAfterBytes = Take(data, size);
    r.Milliseconds = Take(data, size);
    r.Result = static_cast<TRunResult>(Take(data, size) % 2);
    if (CountHistoryRecords(std::string(kHistoryHeader) + FormatHistoryLine(r)) != 1u) std::abort();
    return 0;
}
