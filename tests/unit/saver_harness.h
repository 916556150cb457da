#pragma once

#include <stdexcept>
#include <string>

#include "forms_runtime/application.h"
#include "forms_runtime/headless/headless_backend.h"
#include "forms_runtime/headless/make_bmp.h"
#include "settings_store/memory_settings_store.h"
#include "startup/main.h"
#include "startup/module/settings_names.h"
#include "tests/unit/fake_system.h"

namespace kivo::testing {

// The whole program on the headless backend: a 1024 x 768 screen at 15 twips per pixel, the
// executable in C:\Kivo with a sample folder, fresh settings and a fake system.
struct SaverHarness {
    forms::headless::HeadlessBackend backend;
    forms::Application app{backend, startup::kApplicationTitle};
    settings::MemorySettingsStore settings;
    FakeSystem system;
    startup::SaverSample module{app, settings, system};

    SaverHarness() {
        backend.files().AddFolder("C:\\Kivo\\sample");
        // The process's end, in the order of the system calls.
        backend.on_end_program = [this] { system.calls.push_back("process ends"); };
    }

    void Store(const char* key, const std::string& value) {
        settings.Write(settings::kApplication, settings::kSection, key, value);
    }

    // Runs the program as the system would with this argument text.
    void Start(const std::string& arguments) {
        backend.SetCommandLine(arguments);
        app.Run([this] { startup::Main(module); });
    }

    // Starts the program and returns its loaded window of type F; throws when there is none.
    template <typename F>
    F& Open(const std::string& arguments) {
        Start(arguments);
        F* form = Loaded<F>();
        return form != nullptr ? *form : throw std::runtime_error("no window after " + arguments);
    }

    template <typename F>
    F* Loaded() const {
        for (const auto& form : app.forms()) {
            if (auto* found = dynamic_cast<F*>(form.get()); found != nullptr && found->loaded()) {
                return found;
            }
        }
        return nullptr;
    }
};

}  // namespace kivo::testing
