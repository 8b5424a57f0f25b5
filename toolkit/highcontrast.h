// Whether the user has high contrast on, and the colours that follow from it.
// This is the one place the program asks the system (SPI_GETHIGHCONTRAST):
// the answer is kept, and read again whenever a top-level window hears that
// the system's colours or settings changed.
#pragma once

bool HighContrast();
// Asks the system again; a top-level window calls it on WM_SYSCOLORCHANGE and
// WM_SETTINGCHANGE before it repaints.
void RefreshHighContrast();

// Answers in the system's place from the next refresh on; null gives the
// question back to the system. Wine cannot switch high contrast on, so tests
// answer it here while the colours themselves are set for real.
using THighContrastSource = bool (*)();
void SetHighContrastSource(THighContrastSource source);
