// Starting with Windows for the current user: a flag in the settings store,
// and the entry under the shell's per-user Run key. A portable copy keeps no
// flag: the entry alone, written only when the user ticks the box.
#pragma once

#include <functional>
#include <string_view>

inline constexpr std::wstring_view kAutorunFlagValue = L"loadwithwin";
inline constexpr std::wstring_view kUserRunKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::wstring_view kUserRunValue = L"Quenfel";

// At window creation: the flag "1" checks the box and rewrites the Run entry
// with exePath; "0" unchecks it (setChecked is expected to run the click
// handler, as changing the box does) and removes the entry; any other flag
// leaves everything as it is. Registry write errors propagate.
void ReconcileAutorunAtStart(const std::function<void(bool checked)>& setChecked, std::wstring_view exePath);

// The check box's click: stores the flag first, then writes or removes the
// Run entry. Registry write errors propagate.
void ApplyAutorunChoice(bool checked, std::wstring_view exePath);
