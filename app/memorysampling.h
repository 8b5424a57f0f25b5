// The division of memory, sampled at each tick of the monitor from the
// program's start, whether the memory window is open or not. The window
// shows what is kept here; closing it leaves the samples.
#pragma once

#include <cstdint>
#include <functional>

#include "engine/memorysamples.h"

class TMem;

// The samples, made at the first tick and kept for the program's life.
TMemorySamples& MemorySamples();
// Reads the division after the status the tick read (one system call) and
// keeps it, then tells the open window.
void SampleMemory(TMem& mem);

// Told after each sample: the open window shows it. Unset when none is open.
extern std::function<void()> OnMemorySampled;
// Seconds since 1970, UTC; replaceable so that a test can set the clock.
extern std::function<std::int64_t()> SampleClock;
