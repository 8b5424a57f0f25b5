// Fixed facts about the product that the window shows or opens.
#pragma once

// Opened by "Check for Latest Update": a bare host name, as the shell
// resolves it to the browser.
inline constexpr wchar_t ProductWebAddress[] = L"www.quenfel.example";

// The main window's caption; another copy finds the window by it.
inline constexpr wchar_t MainWindowCaption[] = L"Quenfel ver 1.5";
