// The text that tells the user what a release run freed. Platform-free.
#pragma once

#include <cstdint>
#include <string>

// "Freed 812.50 MB" for the rise in available physical memory across a run,
// or "No memory was freed" when it did not rise, in the current language.
std::wstring RunReportText(std::uint64_t availBefore, std::uint64_t availAfter);
