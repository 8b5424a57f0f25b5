// Which way a progress bar fills: horizontal bars from the left, vertical
// bars from the bottom. Shared by the system progress bar and the custom
// gradient bar. Platform-free.
#pragma once

#include <cstdint>

enum class TProgressBarOrientation : std::uint8_t { pbHorizontal, pbVertical };
