// What the division bar and the memory graph show: plain figures, which the
// memory window fills from the sample store. Platform-free.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Bytes of each part, in TMemoryPart's order (in use, modified, standby,
// free). Where Windows does not give the division, only in use and free
// are filled, the free part then holding the available memory.
using TMemoryParts = std::array<std::uint64_t, 4>;

struct TMemoryPoint {
    std::int64_t Time = 0;  // seconds since 1970, UTC
    TMemoryParts Parts{};
};

// A run, marked in the graph at its start in its trigger's colour
// (RunMarkColor), with the tip that tells what it did.
struct TRunMark {
    std::int64_t Time = 0;
    int Trigger = 0;
    std::wstring Tip;
};
