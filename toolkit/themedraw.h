// Frames, edges and marks drawn in the theme in force: the system's own
// (DrawEdge, DrawFrameControl) in the light theme and under high contrast,
// which take the user's colours from the system; flat lines in the dark
// theme's colours there, since the system's would be light.
#pragma once

#include <windows.h>

// Fills rect with a system colour role as the theme in force shows it.
void FillThemed(HDC dc, const RECT& rect, int role);

// DrawEdge, or in the dark theme a one-pixel frame: the outer edge's shadow
// colour on the sides it names, for etched, sunken and raised edges alike.
void DrawThemedEdge(HDC dc, RECT& rect, UINT edge, UINT flags);

// A push button's face and frame (DrawFrameControl DFCS_BUTTONPUSH with
// DFCS_ADJUSTRECT): rect comes back as the area inside the frame.
void DrawThemedButtonFrame(HDC dc, RECT& rect, bool pushed);

// A check box's box at rect (square): empty, checked, or grayed (mixed), as
// pressed while the mouse holds it; the dark theme only.
void DrawDarkCheckMark(HDC dc, const RECT& box, int state, bool pressed, bool enabled);
