// The free memory as the tray icon shows it, and the rule for when the icon
// is drawn again. Platform-free.
#pragma once

#include <cstdint>
#include <optional>

// The figure's background: the monitor's own colour, amber near the level
// that matters, red below it.
enum class TFreeLevel : std::uint8_t { flNormal, flNear, flBelow };

struct TTrayFigure {
    int Percent = 0;  // 0 to 99: never more than two digits
    TFreeLevel Level = TFreeLevel::flNormal;
    friend bool operator==(const TTrayFigure&, const TTrayFigure&) = default;
};

// percent is the monitor's figure (whole percent free); 100 shows as 99.
// The level that matters is the alarm while automatic optimisation is on
// with an alarm set, and a quarter of the physical memory otherwise. Below it
// the figure is red; below one and a half times it, amber.
TTrayFigure TrayFigureFor(int percent, std::uint64_t avail, std::uint64_t total, bool autoOptimize,
                          std::uint64_t alarmBytes);

// Everything one drawing of the icon depends on.
struct TTrayFigureLook {
    TTrayFigure Figure;
    int Size = 16;                          // pixels, square
    bool LightTaskbar = false;
    std::uint32_t NormalRgb = 0x0062C128;   // 0x00RRGGBB of flNormal's background
    friend bool operator==(const TTrayFigureLook&, const TTrayFigureLook&) = default;
};

// Draws only what would look different: the window offers a look every tick,
// and only a changed one is drawn and handed to the shell.
class TTrayFigureRule {
public:
    // True when look differs from the last one drawn, or when nothing is
    // drawn; look is then taken as drawn.
    bool Redraw(const TTrayFigureLook& look);
    // The drawn icon was given up: the next look is drawn whatever it is.
    void Forget() noexcept { drawn_.reset(); }

private:
    std::optional<TTrayFigureLook> drawn_;
};
