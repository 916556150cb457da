#include "startup/module/monitor_areas.h"

#include <algorithm>

namespace kivo::startup {

namespace {

bool Empty(const PixelRect& rect) {
    return rect.right <= rect.left || rect.bottom <= rect.top;
}

bool Inside(const PixelRect& inner, const PixelRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool HoldsOrigin(const Monitor& monitor) {
    return monitor.area.left <= 0 && monitor.area.top <= 0 && monitor.area.right > 0 &&
           monitor.area.bottom > 0;
}

}  // namespace

std::vector<PixelRect> OtherMonitorAreas(const std::vector<Monitor>& monitors) {
    auto primary = std::find_if(monitors.begin(), monitors.end(),
                                [](const Monitor& monitor) { return monitor.primary; });
    if (primary == monitors.end()) {
        primary = std::find_if(monitors.begin(), monitors.end(), HoldsOrigin);
    }
    std::vector<PixelRect> areas;
    for (auto monitor = monitors.begin(); monitor != monitors.end(); ++monitor) {
        const PixelRect& area = monitor->area;
        if (monitor == primary || Empty(area) ||
            (primary != monitors.end() && Inside(area, primary->area)) ||
            std::find(areas.begin(), areas.end(), area) != areas.end()) {
            continue;
        }
        areas.push_back(area);
    }
    return areas;
}

}  // namespace kivo::startup
