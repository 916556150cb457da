// The real slide show window in this benchmark's process, over the backend it is given, showing
// a folder's pictures at an interval, covering the primary screen under a caption of its own.
#pragma once

#include <string>

#include "bench/slides/bench_stats.h"
#include "forms_runtime/application.h"
#include "saver_window/frmScreenSaver.h"
#include "settings_store/memory_settings_store.h"
#include "startup/module/saversample.h"
#include "startup/module/settings_names.h"
#include "startup/win32/win32_system.h"

namespace kivo::bench {

struct InProcessSaver {
    // `interval`: seconds, as the setting stores them.
    InProcessSaver(forms::Backend& backend, const std::wstring& folder, const std::string& interval,
                   const char* caption)
        : app(backend, startup::kApplicationTitle) {
        // Full screen; assigned so, since assigning the literal here trips a false warning of
        // GCC 12's (-Wrestrict).
        module.RunMode.assign(1, 'S');
        settings.Write(settings::kApplication, settings::kSection, settings::kFolderKey,
                       Narrow(folder));
        settings.Write(settings::kApplication, settings::kSection, settings::kIntervalKey,
                       interval);
        form = &app.Load<saver_window::frmScreenSaver>(module);
        const forms::ScreenMetrics screen = app.Screen();
        form->Move(0, 0, screen.width, screen.height);
        form->Caption = caption;
        form->Show();
    }

    forms::Application app;
    settings::MemorySettingsStore settings;
    startup::Win32System system;
    startup::SaverSample module{app, settings, system};
    saver_window::frmScreenSaver* form = nullptr;
};

}  // namespace kivo::bench
