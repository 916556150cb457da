#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms_runtime/application.h"
#include "forms_runtime/form.h"
#include "forms_runtime/win32/window/win32_backend.h"
#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32::test {

// Delivers the messages that are waiting, then keeps doing so for `duration`.
void Pump(std::chrono::milliseconds duration = std::chrono::milliseconds(0));

// The form's client area as the form paints it (through WM_PRINTCLIENT), as 0xRRGGBB pixels.
class ClientPicture {
  public:
    explicit ClientPicture(HWND window);
    std::uint32_t At(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    std::vector<std::uint32_t> pixels_;
    int width_ = 0;
    int height_ = 0;
};

std::string WindowText(HWND window);
std::string ClassOf(HWND window);
Win32FormPeer& PeerOf(const Form& form);

// A borderless black form of 400 x 300 pixels at 15 twips to the pixel (fewer pixels at a
// higher resolution): a white-on-blue label over an image, a second image, and a timer.
class CanvasForm : public Form {
  public:
    explicit CanvasForm(Application& app);
    void Form_Load() override;
    void Form_Unload(std::int16_t& cancel) override;
    void Form_KeyDown(int key_code, int shift) override;

    struct MouseEvent {
        std::string what;
        int button;
        int shift;
        float x;
        float y;
    };
    std::vector<MouseEvent> mouse;
    std::vector<std::pair<int, int>> keys;
    int ticks = 0;
    int ticks_during_load = 0;
    int unloads = 0;
    int* unloads_seen_outside = nullptr;  // counts on after the form is released
    bool refuse_unload = false;
};

// A settings-like tool window: a frame holding the drive, folder and file lists and a note,
// then a check box, a text box and the OK and cancel buttons. The table lists them out of tab
// order on purpose.
class DialogForm : public Form {
  public:
    DialogForm(Application& app, std::string folder);
    void Form_Load() override;
    void Form_Unload(std::int16_t& cancel) override;

    std::string folder;
    int ok_clicks = 0;
    int cancel_clicks = 0;
    int check_clicks = 0;
    int file_clicks = 0;
    int text_changes = 0;
    int folder_changes = 0;
    int unloads = 0;
};

// One application over the real backend per test; what is still loaded at the end unloads.
class FormTest : public ::testing::Test {
  protected:
    FormTest() : app(backend, "テスト") {}
    ~FormTest() override;

    // Runs code as one event of the application, as the backend runs the user's input.
    void Event(const std::function<void()>& handler) { app.RaiseEvent(handler); }
    void Unload(Form& form) {
        Event([this, &form] { app.Unload(form); });
    }

    Win32Backend backend;
    Application app;
};

}  // namespace kivo::forms::win32::test
