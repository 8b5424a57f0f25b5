#include "engine/memfigures.h"

#include <algorithm>
#include <limits>

std::int32_t BytesToMegabytes(std::int64_t bytes)
{
    // Integer division truncates exactly as the quotient in floating point
    // does for every 32-bit count, and stays exact where a double would round
    // a 64-bit count.
    if (bytes <= 1'000'000) return 0;
    if (bytes <= 999'999'999) return static_cast<std::int32_t>(bytes / 1'049'172);
    const std::int64_t units = bytes / 1'074'917'243;
    constexpr std::int64_t most = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(units > most ? most : units);
}

namespace {

std::int32_t Convert(std::uint64_t bytes)
{
    constexpr std::uint64_t most = std::numeric_limits<std::int64_t>::max();
    return BytesToMegabytes(static_cast<std::int64_t>(bytes > most ? most : bytes));
}

} // namespace

MemoryReadings ToReadings(const TMemoryStatus& status)
{
    MemoryReadings r;
    r.TotalPhys = Convert(status.TotalPhys);
    r.AvailPhys = Convert(status.AvailPhys);
    r.TotalPageFile = Convert(status.TotalPageFile);
    r.AvailPageFile = Convert(status.AvailPageFile);
    r.TotalVirtual = Convert(status.TotalVirtual);
    r.AvailVirtual = Convert(status.AvailVirtual);
    return r;
}

std::int32_t RamToFreeMaximum(const TMemoryStatus& status, std::uint64_t blockSize)
{
    const std::uint64_t byPhysical = status.TotalPhys / 2'000'000;
    const std::uint64_t byAddressSpace = blockSize == 0 ? byPhysical : status.AvailVirtual / blockSize;
    constexpr auto most = static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(std::min({byPhysical, byAddressSpace, most}));
}
