#include "app/memorysampling.h"

#include <ctime>

#include "engine/mem.h"

std::function<void()> OnMemorySampled;
std::function<std::int64_t()> SampleClock = [] { return static_cast<std::int64_t>(std::time(nullptr)); };

TMemorySamples& MemorySamples()
{
    static TMemorySamples samples;
    return samples;
}

void SampleMemory(TMem& mem)
{
    MemorySamples().Add(SampleClock(), mem.ReadDivision());
    if (OnMemorySampled) OnMemorySampled();
}
