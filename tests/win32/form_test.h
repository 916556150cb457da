#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "forms_runtime/application.h"
#include "forms_runtime/pixels/pixel_scale.h"
#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/win32_backend.h"
#include "saver_window/frmScreenSaver.h"
#include "settings_dialog/frmSetting.h"
#include "settings_store/memory_settings_store.h"
#include "startup/module/saversample.h"
#include "startup/module/settings_names.h"
#include "startup/win32/win32_system.h"
#include "tests/common/temp_folder.h"

namespace kivo::test {

// The program's real forms over the real Win32 backend, in this process, on the test's thread.
// Sizes are in pixels unless named twips.
class FormTest : public ::testing::Test {
  protected:
    // The Win32 backend, except that ending the program only ends the application (no further
    // event runs) and the test goes on to look. Its decoder helper is the built Kivo.scr.
    class Backend : public forms::win32::Win32Backend {
      public:
        explicit Backend(forms::win32::Decoding decoding)
            : Win32Backend(decoding,
                           std::filesystem::path(KIVO_SCR_PATH).make_preferred().wstring()) {}
        void EndProgram() override {}
    };

    // What a window paints of its client area (WM_PRINTCLIENT), as 0xRRGGBB pixels.
    struct Snapshot {
        explicit Snapshot(HWND window);
        std::uint32_t At(int x, int y) const { return pixels[y * width + x] & 0xFFFFFF; }
        // The pixels light in every channel (white letters, smoothed at their edges) in `area`.
        int Bright(const RECT& area) const;
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> pixels;
    };

    // Forms still loaded at the end are released with the application, their handlers unrun.
    // Pictures are decoded in this process unless the test asks for the helper.
    explicit FormTest(forms::win32::Decoding decoding = forms::win32::Decoding::InThisProcess);

    // The settings dialog on the stored folder `pictures`; shown, it has the keyboard.
    settings_dialog::frmSetting& LoadDialog() {
        auto& dialog = app.Load<settings_dialog::frmSetting>(settings);
        Settle();
        return dialog;
    }
    settings_dialog::frmSetting& ShowDialog() {
        auto& dialog = LoadDialog();
        dialog.Show();
        Pump();
        return dialog;
    }
    // The slide show window on `pictures`, showing file names, shown, not yet ticked; its first
    // slide is prepared.
    saver_window::frmScreenSaver& LoadSaver() {
        auto& saver = app.Load<saver_window::frmScreenSaver>(module);
        saver.Show();
        saver.Slides()->Prepare();
        Settle();
        return saver;
    }
    // Delivers messages until the readings and loads under way have arrived, and those that
    // their arrivals asked for. A piece posts its arrival's wake before it stops counting as
    // busy: one not busy any more has left its wake in the queue.
    void Settle() {
        MSG waiting;
        do {
            PumpUntil([this] { return !backend.Busy(); });
            Pump();
        } while (backend.Busy() || PeekMessageW(&waiting, nullptr, 0, 0, PM_NOREMOVE));
    }
    void Tick(saver_window::frmScreenSaver& saver) { app.RaiseTimer(saver.Timer); }
    // Loads a picture as the program does, off this thread, delivering messages until it
    // arrives; raises the load's error.
    forms::Picture Decode(const std::filesystem::path& path, forms::DecodeHint hint = {});

    // A path as the program takes it: UTF-8.
    static std::string Utf8(const std::filesystem::path& path) {
        return forms::win32::Narrow(path.wstring());
    }
    static HWND WindowOf(const forms::Form& form) { return reinterpret_cast<HWND>(form.hWnd()); }
    static HWND WindowOf(const forms::Control& control);
    // The name of the control that has the focus, or "".
    static std::string FocusName(const forms::Form& form);
    // A windowless control's rectangle on its surface, from its state.
    RECT Bounds(const forms::Control& control) const;
    // Delivers the messages waiting, then keeps doing so for `duration`.
    static void Pump(std::chrono::milliseconds duration = std::chrono::milliseconds(0));
    // Delivers messages one at a time until `done`, for twenty seconds at most; whether it came.
    static bool PumpUntil(const std::function<bool()>& done);
    // A key pressed and released where the focus is.
    static void Press(UINT key);
    // Presses Tab until the control has the focus; false when it never gets it.
    static bool TabTo(const forms::Form& form, const std::string& name);

    Backend backend;
    forms::Application app{backend, "テスト"};
    settings::MemorySettingsStore settings;
    startup::Win32System system;
    startup::SaverSample module{app, settings, system};
    forms::PixelScale scale;
    TempFolder pictures;
};

}  // namespace kivo::test
