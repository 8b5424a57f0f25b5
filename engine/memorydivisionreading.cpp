#include "engine/memorydivisionreading.h"

#include <windows.h>
#include <pdh.h>
#include <pdhmsg.h>

#include <array>
#include <limits>
#include <optional>

#include "toolkit/systemlibrary.h"

namespace {

// NtQuerySystemInformation's memory-list class is not documented by Windows.
// Its layout has stayed the same since Vista; the call is looked up at run
// time and the size it returns is checked before a field is read.
constexpr ULONG kSystemMemoryListInformation = 80;
struct TSystemMemoryListInformation {
    ULONG_PTR ZeroPageCount;
    ULONG_PTR FreePageCount;
    ULONG_PTR ModifiedPageCount;
    ULONG_PTR ModifiedNoWritePageCount;
    ULONG_PTR BadPageCount;
    ULONG_PTR PageCountByPriority[kStandbyPriorities];  // the standby list
    ULONG_PTR RepurposedPagesByPriority[kStandbyPriorities];
    ULONG_PTR ModifiedPageCountPageFile;
};
static_assert(sizeof(TSystemMemoryListInformation) == 22 * sizeof(ULONG_PTR));

using TNtQuerySystemInformation = LONG NTAPI(ULONG infoClass, void* info, ULONG length, ULONG* returned);

using TPdhOpenQuery = PDH_STATUS WINAPI(const wchar_t* source, DWORD_PTR user, PDH_HQUERY* query);
using TPdhAddEnglishCounter = PDH_STATUS WINAPI(PDH_HQUERY query, const wchar_t* path, DWORD_PTR user,
                                                PDH_HCOUNTER* counter);
using TPdhCollectQueryData = PDH_STATUS WINAPI(PDH_HQUERY query);
using TPdhGetFormattedCounterValue = PDH_STATUS WINAPI(PDH_HCOUNTER counter, DWORD format, DWORD* type,
                                                       PDH_FMT_COUNTERVALUE* value);
using TPdhCloseQuery = PDH_STATUS WINAPI(PDH_HQUERY query);

std::uint64_t PagesToBytes(std::uint64_t pages, std::uint64_t pageSize) noexcept
{
    return pages > std::numeric_limits<std::uint64_t>::max() / pageSize ? std::numeric_limits<std::uint64_t>::max()
                                                                         : pages * pageSize;
}

std::uint64_t SaturatingSum(std::uint64_t a, std::uint64_t b) noexcept
{
    return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

std::optional<TMemoryListReading> ReadMemoryListClass() noexcept
{
    auto* query = OptionalSystemEntry<TNtQuerySystemInformation>(L"ntdll.dll", "NtQuerySystemInformation");
    if (query == nullptr) return std::nullopt;
    TSystemMemoryListInformation info{};
    ULONG returned = 0;
    if (query(kSystemMemoryListInformation, &info, sizeof info, &returned) < 0) return std::nullopt;
    // A Windows that fills less, or another layout, is not read at all.
    if (returned != sizeof info) return std::nullopt;
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    const std::uint64_t page = system.dwPageSize != 0 ? system.dwPageSize : 4096;
    TMemoryListReading r;
    r.Source = TDivisionSource::dsMemoryLists;
    r.FreeBytes = PagesToBytes(SaturatingSum(info.ZeroPageCount, info.FreePageCount), page);
    r.ModifiedBytes = PagesToBytes(SaturatingSum(info.ModifiedPageCount, info.ModifiedNoWritePageCount), page);
    for (std::size_t p = 0; p < kStandbyPriorities; ++p) {
        r.StandbyByPriority[p] = PagesToBytes(info.PageCountByPriority[p], page);
        r.StandbyBytes = SaturatingSum(r.StandbyBytes, r.StandbyByPriority[p]);
    }
    return r;
}

// The memory counters in one open query. The counters' paths are English:
// the translated names differ by language, and PdhAddEnglishCounterW takes
// the English ones everywhere.
class TMemoryCounters {
public:
    // Opens the query; Open() tells whether every counter was added.
    TMemoryCounters() noexcept
    {
        auto* open = OptionalSystemEntry<TPdhOpenQuery>(L"pdh.dll", "PdhOpenQueryW");
        auto* add = OptionalSystemEntry<TPdhAddEnglishCounter>(L"pdh.dll", "PdhAddEnglishCounterW");
        collect_ = OptionalSystemEntry<TPdhCollectQueryData>(L"pdh.dll", "PdhCollectQueryData");
        value_ = OptionalSystemEntry<TPdhGetFormattedCounterValue>(L"pdh.dll", "PdhGetFormattedCounterValue");
        close_ = OptionalSystemEntry<TPdhCloseQuery>(L"pdh.dll", "PdhCloseQuery");
        if (open == nullptr || add == nullptr || collect_ == nullptr || value_ == nullptr || close_ == nullptr) return;
        if (open(nullptr, 0, &query_) != ERROR_SUCCESS) {
            query_ = nullptr;
            return;
        }
        static constexpr const wchar_t* kPaths[kCounters] = {
            L"\\Memory\\Free & Zero Page List Bytes",
            L"\\Memory\\Modified Page List Bytes",
            L"\\Memory\\Standby Cache Reserve Bytes",
            L"\\Memory\\Standby Cache Normal Priority Bytes",
            L"\\Memory\\Standby Cache Core Bytes",
        };
        bool all = true;
        for (std::size_t i = 0; i < kCounters; ++i) all = all && add(query_, kPaths[i], 0, &counters_[i]) == ERROR_SUCCESS;
        open_ = all;
    }
    TMemoryCounters(const TMemoryCounters&) = delete;
    TMemoryCounters& operator=(const TMemoryCounters&) = delete;
    ~TMemoryCounters()
    {
        if (query_ != nullptr) close_(query_);
    }

    bool Open() const noexcept { return open_; }

    std::optional<TMemoryListReading> Read() const noexcept
    {
        if (!open_ || collect_(query_) != ERROR_SUCCESS) return std::nullopt;
        std::array<std::uint64_t, kCounters> bytes{};
        for (std::size_t i = 0; i < kCounters; ++i) {
            PDH_FMT_COUNTERVALUE value{};
            if (value_(counters_[i], PDH_FMT_LARGE | PDH_FMT_NOCAP100, nullptr, &value) != ERROR_SUCCESS
                || (value.CStatus != PDH_CSTATUS_VALID_DATA && value.CStatus != PDH_CSTATUS_NEW_DATA)
                || value.largeValue < 0)
                return std::nullopt;
            bytes[i] = static_cast<std::uint64_t>(value.largeValue);
        }
        TMemoryListReading r;
        r.Source = TDivisionSource::dsCounters;
        r.FreeBytes = bytes[0];
        r.ModifiedBytes = bytes[1];
        r.StandbyBytes = SaturatingSum(SaturatingSum(bytes[2], bytes[3]), bytes[4]);
        return r;
    }

private:
    static constexpr std::size_t kCounters = 5;
    PDH_HQUERY query_ = nullptr;
    std::array<PDH_HCOUNTER, kCounters> counters_{};
    TPdhCollectQueryData* collect_ = nullptr;
    TPdhGetFormattedCounterValue* value_ = nullptr;
    TPdhCloseQuery* close_ = nullptr;
    bool open_ = false;
};

} // namespace

TMemoryListReading SystemMemoryLists() noexcept
{
    static bool listsRefused = false;
    if (!listsRefused) {
        if (const auto lists = ReadMemoryListClass()) return *lists;
        listsRefused = true;
    }
    // Opened once and kept: a query costs far more to open than to read.
    static const TMemoryCounters counters;
    if (const auto read = counters.Read()) return *read;
    return {};
}
