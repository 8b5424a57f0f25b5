// The one place that makes the system's memory calls for the memory areas:
// trimming working sets, the file cache, the memory lists and page combining,
// with the privileges each needs. A call this Windows lacks comes back as
// soSkippedWindows, never as a failure or a crash.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/memoryareas.h"
#include "toolkit/elevation.h"

// The real version: GetVersionEx reports 6.2 to a program whose manifest does
// not name the newer Windows.
TWindowsVersion RunningWindowsVersion() noexcept;
// Whether this is the 32-bit program running on a 64-bit Windows (WOW64).
bool ProgramIs32BitOn64BitWindows() noexcept;
// The three together, for a run's plan.
TRunPlace RunningPlace() noexcept;

struct TProcessEntry {
    std::uint32_t Id = 0;
    std::wstring ImageName;  // "obs64.exe"
};
// Every running process, from a Toolhelp snapshot. Raises EOSError when no
// snapshot can be taken.
std::vector<TProcessEntry> RunningProcesses();

struct TStepCall {
    TStepOutcome Outcome = TStepOutcome::soDone;
    std::uint32_t Error = 0;
    std::uint32_t Trimmed = 0, Seen = 0;
};

// Empties the working set of each process. Every entry but this process is
// seen; one whose image name is in excluded (compared as Windows compares file
// names, ignoring case) is left alone; one that cannot be opened is seen, not
// trimmed. between() runs after each process seen (the window pumps its
// messages there; what it raises leaves). elevated: SeDebugPrivilege is on
// while each process is opened, so other users' processes open too, and off
// whenever between() runs; a token without it trims what it can open.
TStepCall TrimWorkingSets(const std::vector<TProcessEntry>& processes, const std::vector<std::wstring>& excluded,
                          bool elevated, const std::function<void()>& between);
// Empties the system file cache's working set.
TStepCall PurgeSystemFileCache();

enum class TMemoryListCommand : std::uint32_t { mlFlushModified = 3, mlPurgeStandby = 4, mlPurgeLowPriorityStandby = 5 };
TStepCall RunMemoryListCommand(TMemoryListCommand command);
// Combines identical pages (Windows 10 and later).
TStepCall CombineMemoryPages();
