// The unattended run of "/optimize" when no other copy is running: no window,
// no message box, one run of the stored areas and amount, and an exit code.
#pragma once

class TMem;

inline constexpr int kScheduledRunDone = 0;
inline constexpr int kScheduledRunFailed = 1;

// Frees the stored memory areas (the fill alone when none is stored), the
// fill taking the amount stored for the slider (held to the slider's range on
// this machine), or the slider's start value, half its maximum, when nothing
// usable is stored. Returns kScheduledRunFailed when an area failed (the fill
// ran out of memory, a system call was refused); the other areas still ran,
// and every block taken is given back either way.
int RunScheduledOptimize(TMem& engine) noexcept;
