// How a copy started with /optimize asks the copy already running to free
// memory: a registered window message posted to that copy's application
// window.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>

// The message number, the same in every process of the session; 0 only if
// the system could not register it.
UINT OptimizeRequestMessage();

// The requester's rights, and how it learns the running copy's.
struct TRequesterRights {
    bool Elevated = false;
    // Whether the process runs elevated; nothing when that cannot be told.
    std::function<std::optional<bool>(std::uint32_t processId)> CopyElevated;
};

enum class TRequestAnswer : std::uint8_t {
    raSent,
    // No copy's window appeared, or the post failed.
    raFailed,
    // The copy lacks rights the requester holds: it would skip the areas
    // that need them, so the requester runs itself.
    raCopyLacksRights,
};

// Posts the request to the running copy's application window, waiting up to
// patience for a copy that is still starting to create it.
TRequestAnswer RequestRunningCopyOptimize(std::chrono::milliseconds patience, const TRequesterRights& rights);

// Lets the request through to window from copies with fewer rights: Windows
// drops messages posted to a window of a copy that runs as administrator
// unless that window accepts them.
void AcceptOptimizeRequests(HWND window) noexcept;
