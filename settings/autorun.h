// Starting with Windows for the current user: a flag in the settings store,
// and the entry under the shell's per-user Run key. A portable copy keeps no
// flag: the entry alone, written only when the user ticks the box. Every
// copy shares the one entry: a copy writes or removes it only when it starts
// that copy or nothing.
#pragma once

#include <optional>
#include <string>
#include <string_view>

inline constexpr std::wstring_view kAutorunFlagValue = L"loadwithwin";
inline constexpr std::wstring_view kUserRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::wstring_view kUserRunValue = L"Quenfel";

// At window creation: the flag "1" rewrites the Run entry with exePath, and
// "0" removes it; any other flag, or a portable copy, leaves it as it is.
// Returns what the box shows: whether the entry now starts this copy.
// Registry write errors propagate.
bool ReconcileAutorunAtStart(std::wstring_view exePath);

// The program the Run entry starts when that is not exePath (another copy,
// installed or portable); nothing when it starts this copy, or nothing (no
// entry, or a program no longer there).
std::optional<std::wstring> RunEntryOfAnotherCopy(std::wstring_view exePath);

// The check box's click, once the user has agreed to take the entry from
// another copy: stores the flag first, then writes the Run entry, or removes
// it unless it starts another copy. Registry write errors propagate.
void ApplyAutorunChoice(bool checked, std::wstring_view exePath);
