// Fixed facts about the product that the window shows or opens.
#pragma once

// Opened by "Check for Latest Update": a bare host name, as the shell
// resolves it to the browser.
inline constexpr wchar_t ProductWebAddress[] = L"www.quenfel.example";


// The application's title (taskbar button, reports); another copy finds the
// application window by it.
inline constexpr wchar_t ApplicationTitle[] = L"Quenfel";
