#pragma once

#include <vector>

#include "startup/module/system.h"

namespace kivo::startup {

// The rectangles, in pixels, of the monitors beside the primary one, each of which shows a slide
// show window of its own: each other monitor's rectangle as the system reports it, in the system's
// order. A monitor with no area, one that lies inside the primary (a mirrored display) and one
// that repeats an earlier one are left out. Without a monitor flagged primary, the one holding
// the point 0,0 is the primary.
std::vector<PixelRect> OtherMonitorAreas(const std::vector<Monitor>& monitors);

}  // namespace kivo::startup
