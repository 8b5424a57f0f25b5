// The text that tells the user what a release run freed, and what Windows
// refused it. Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/memoryareas.h"
#include "toolkit/texts.h"

// "Freed 812.50 MB" for the rise in available physical memory across a run,
// or "No memory was freed" when it did not rise, in the current language.
std::wstring RunReportText(std::uint64_t availBefore, std::uint64_t availAfter);

// The name the memory page gives an area: "Whole standby list".
TText AreaCaption(TMemoryArea area) noexcept;

struct TRunReport {
    // The whole report, where there is room for it (the tray's balloon):
    // "Freed 812.50 MB; Windows refused: Whole standby list".
    std::wstring Full;
    // The same in the window's narrow line, one line after the other: what
    // was freed, then that an area was refused.
    std::vector<std::wstring> Lines;
};
// A run's report; refused: the areas Windows refused, in run order.
TRunReport RunReport(std::uint64_t availBefore, std::uint64_t availAfter, const std::vector<TMemoryArea>& refused);
