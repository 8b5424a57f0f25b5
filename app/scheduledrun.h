// The unattended run of "/optimize" when no other copy is running: no window,
// no message box, one release of the stored amount, and an exit code.
#pragma once

class TMem;

inline constexpr int kScheduledRunDone = 0;
inline constexpr int kScheduledRunFailed = 1;

// Frees the amount stored for the slider (held to the slider's range on this
// machine), or the slider's start value, half its maximum, when nothing
// usable is stored. Returns kScheduledRunFailed when the run fails (memory
// ran out); every block taken is given back either way.
int RunScheduledOptimize(TMem& engine) noexcept;
