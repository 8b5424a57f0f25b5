#include "controls/trayfigure.h"

#include <algorithm>

TTrayFigure TrayFigureFor(int percent, std::uint64_t avail, std::uint64_t total, bool autoOptimize,
                          std::uint64_t alarmBytes)
{
    TTrayFigure f;
    f.Percent = std::clamp(percent, 0, 99);
    // An alarm of 0 never starts a run, so it is no level to warn about.
    const std::uint64_t level = autoOptimize && alarmBytes > 0 ? alarmBytes : total / 4;
    if (avail < level)
        f.Level = TFreeLevel::flBelow;
    else if (avail < level + level / 2)
        f.Level = TFreeLevel::flNear;
    return f;
}

bool TTrayFigureRule::Redraw(const TTrayFigureLook& look)
{
    if (drawn_ && *drawn_ == look) return false;
    drawn_ = look;
    return true;
}
