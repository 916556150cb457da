#include "startup/other_monitors.h"

#include <vector>

#include "startup/module/monitor_areas.h"

namespace kivo::startup {

namespace {

using saver_window::frmScreenSaver;

// One window over each monitor beside the primary: the windows there already are moved, new ones
// made, and those of monitors now gone unloaded.
void Place(SaverSample& module, frmScreenSaver& leader) {
    if (!leader.loaded()) {
        return;
    }
    const std::vector<PixelRect> areas = OtherMonitorAreas(module.system.Monitors());
    std::vector<frmScreenSaver*> others = leader.Slides()->Windows();
    others.erase(others.begin());
    for (std::size_t gone = areas.size(); gone < others.size(); ++gone) {
        module.app.Unload(*others[gone]);
    }
    const forms::ScreenMetrics screen = module.app.Screen();
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const PixelRect& area = areas[i];
        const bool fresh = i >= others.size();
        frmScreenSaver& window =
            fresh ? module.app.Load<frmScreenSaver>(module, leader.Slides()) : *others[i];
        window.Move(static_cast<float>(area.left) * screen.twips_per_pixel_x,
                    static_cast<float>(area.top) * screen.twips_per_pixel_y,
                    static_cast<float>(area.right - area.left) * screen.twips_per_pixel_x,
                    static_cast<float>(area.bottom - area.top) * screen.twips_per_pixel_y);
        if (fresh) {
            module.system.Accompany(window.hWnd(), leader.hWnd());
            window.Show();
        }
    }
    leader.Slides()->Prepare();  // the new windows' first slides, or the next after one gone
}

}  // namespace

void ShowOnOtherMonitors(SaverSample& module, frmScreenSaver& leader) {
    Place(module, leader);
    module.system.WatchMonitors(leader.hWnd(), [&module, &leader] {
        module.app.RaiseEvent([&module, &leader] { Place(module, leader); });
    });
}

}  // namespace kivo::startup
