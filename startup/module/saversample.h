#pragma once

#include <cstdint>
#include <string>

#include "forms_runtime/application.h"
#include "settings_store/settings_store.h"
#include "startup/module/system.h"

namespace kivo::startup {

// The title of the full-screen slide show and of the settings dialog, and what a new copy looks
// for to see whether another one is already running.
inline constexpr const char* SaverTitle = "ScreenSaver ボール(Sample)";
inline constexpr const char* kPreviewCaption = "ScreenSaver Preview";
// The title of every message box that names none, and of the error path's.
inline constexpr const char* kApplicationTitle = "Ostra'sSlideShowScreenSaver";

// The start-up module: its globals and the services the windows share. `Main` sets the globals
// before any window is loaded.
struct SaverSample {
    SaverSample(forms::Application& app, settings::SettingsStore& settings, System& system)
        : app(app), settings(settings), system(system) {}

    forms::Application& app;
    settings::SettingsStore& settings;
    System& system;

    std::string RunMode;  // the upper-cased mode letter, or empty
    std::int16_t UsePassword = 0;
    std::int16_t MouseSeen = 0;
    // Pointer positions in twips; 32 bits, since screens are wider than 32767 twips.
    std::int32_t LastMouseX = 0;
    std::int32_t LastMouseY = 0;
};

}  // namespace kivo::startup
