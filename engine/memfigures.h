// The memory status and the figures the window shows from it. Platform-free.
#pragma once

#include <cstdint>

// One snapshot of the system's memory, in bytes, as wide as the system
// reports it.
struct TMemoryStatus {
    std::uint32_t MemoryLoad = 0; // percent of physical memory in use
    std::uint64_t TotalPhys = 0;
    std::uint64_t AvailPhys = 0;
    std::uint64_t TotalPageFile = 0;
    std::uint64_t AvailPageFile = 0;
    std::uint64_t TotalVirtual = 0;
    std::uint64_t AvailVirtual = 0;
};

// The status converted by BytesToMegabytes, field by field.
struct MemoryReadings {
    std::int32_t TotalPhys = 0;
    std::int32_t AvailPhys = 0;
    std::int32_t TotalPageFile = 0;
    std::int32_t AvailPageFile = 0;
    std::int32_t TotalVirtual = 0;
    std::int32_t AvailVirtual = 0;
};

// 0 up to 1,000,000 bytes; below 10^9 bytes the count of 1,049,172-byte
// units; from 10^9 bytes on the count of 1,074,917,243-byte units (saturating
// at the 32-bit maximum). Always truncated toward zero.
std::int32_t BytesToMegabytes(std::int64_t bytes);

MemoryReadings ToReadings(const TMemoryStatus& status);

// The most a release run may take, in blocks of blockSize bytes: half the
// physical memory in units of 10^6 bytes, never more than the address space
// left to this process holds, and never beyond a 32-bit count.
std::int32_t RamToFreeMaximum(const TMemoryStatus& status, std::uint64_t blockSize);
