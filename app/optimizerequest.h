// How a copy started with /optimize asks the copy already running to free
// memory: a registered window message posted to that copy's application
// window.
#pragma once

#include <windows.h>

#include <chrono>

// The message number, the same in every process of the session; 0 only if
// the system could not register it.
UINT OptimizeRequestMessage();

// Posts the request to the running copy's application window, waiting up to
// patience for a copy that is still starting to create it. False when no
// such window appeared or the post failed.
bool RequestRunningCopyOptimize(std::chrono::milliseconds patience);

// Lets the request through to window from copies with fewer rights: Windows
// drops messages posted to a window of a copy that runs as administrator
// unless that window accepts them.
void AcceptOptimizeRequests(HWND window) noexcept;
