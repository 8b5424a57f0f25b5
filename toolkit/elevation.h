// Whether a process runs with an administrator's full token: the rights a
// run needs, and that nothing started on the user's behalf may inherit.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>

// This process.
bool ProcessIsElevated() noexcept;
// Another process of the session; nothing when its token cannot be read.
std::optional<bool> ProcessIdIsElevated(std::uint32_t processId) noexcept;

// Lets message through to window from programs with fewer rights: Windows
// drops what they post or send to a window of an elevated process unless
// that window accepts it. Before Windows 7 every message came through.
void AcceptMessageFromFewerRights(HWND window, UINT message) noexcept;
