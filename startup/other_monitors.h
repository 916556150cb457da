#pragma once

#include "saver_window/frmScreenSaver.h"
#include "startup/module/saversample.h"

namespace kivo::startup {

// Shows a window of `leader`'s slide show on each monitor beside the primary one, where `leader`
// runs, and follows the monitors as they are added, removed or moved for as long as `leader`
// lives. Each window covers its monitor, is topmost and owned by `leader`.
void ShowOnOtherMonitors(SaverSample& module, saver_window::frmScreenSaver& leader);

}  // namespace kivo::startup
