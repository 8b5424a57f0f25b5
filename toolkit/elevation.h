// Whether a process runs with an administrator's full token: the rights a
// run needs, and that nothing started on the user's behalf may inherit.
#pragma once

#include <cstdint>
#include <optional>

// This process.
bool ProcessIsElevated() noexcept;
// Another process of the session; nothing when its token cannot be read.
std::optional<bool> ProcessIdIsElevated(std::uint32_t processId) noexcept;
