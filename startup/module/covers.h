#pragma once

#include <vector>

#include "startup/module/system.h"

namespace kivo::startup {

// The rectangles, in pixels, of the black covers that hide every monitor but the primary one,
// where the slide show runs: each other monitor's rectangle as the system reports it, in the
// system's order. A monitor with no area, one that lies inside the primary (a mirrored display)
// and one that repeats an earlier cover get none. Without a monitor flagged primary, the one
// holding the point 0,0 is the primary.
std::vector<PixelRect> CoverRectangles(const std::vector<Monitor>& monitors);

// Covers the monitors other than the primary while the slide show window `slide_show` lives, and
// covers them anew whenever the monitors change.
void CoverOtherMonitors(System& system, WindowHandle slide_show);

}  // namespace kivo::startup
