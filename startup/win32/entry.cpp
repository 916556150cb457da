#include <windows.h>

#include <string>

#include "forms_runtime/application.h"
#include "forms_runtime/win32/picture/decoder_helper.h"
#include "forms_runtime/win32/window/win32_backend.h"
#include "settings_store/win32/registry_settings_store.h"
#include "startup/main.h"
#include "startup/win32/win32_system.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // System libraries come from the system directory only, never from beside the program.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Started by the saver or the dialog to decode pictures: no window, no settings, no Main.
    if (kivo::forms::win32::DecoderHelper::IsHelperCommand(GetCommandLineW())) {
        return kivo::forms::win32::DecoderHelper::Run(GetCommandLineW());
    }

    kivo::forms::win32::Win32Backend backend;  // decodes in a helper running this program
    kivo::forms::Application app(backend, kivo::startup::kApplicationTitle);
    kivo::settings::RegistrySettingsStore settings;
    kivo::startup::Win32System system;
    kivo::startup::SaverSample module(app, settings, system);
    app.Run([&module] { kivo::startup::Main(module); });
    // The loop was told to quit with a form still loaded: the end all the same.
    app.Finish();
    return 0;
}
