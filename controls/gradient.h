// Colours of a two-colour linear gradient drawn one line per pixel row or
// column: the face of the gradient button and both bands of the gradient
// progress bar. Platform-free.
#pragma once

#include <vector>

#include "toolkit/color.h"

// Colours of lines 0 ... n (n + 1 of them) from start to end. Each channel
// (the low three bytes, taken as stored: a system colour is not resolved)
// starts at its start value and grows by (end - start) / n per line through
// repeated addition; each line takes the running values rounded half to
// even. n < 0 gives no line; n = 0 gives the single start line instead of a
// division by zero.
std::vector<TColor> GradientColors(TColor start, TColor end, int n);
