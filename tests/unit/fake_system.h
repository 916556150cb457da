#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "startup/module/system.h"

namespace kivo::testing {

// Records every operating-system call as a line of text, in order, and answers as set up.
class FakeSystem : public startup::System {
  public:
    bool saver_window_exists = false;
    std::optional<std::int32_t> use_password_value;
    startup::WindowHandle foreground = 0x77;
    bool password_change_available = true;
    std::int32_t window_style = static_cast<std::int32_t>(0x80000000u);  // a popup window
    std::optional<startup::PixelSize> host_client_size = startup::PixelSize{152, 112};
    int cursor_count = 0;
    std::optional<startup::PixelPoint> cursor;
    // Answers of the password check, in order; nothing: the system has no such service.
    std::vector<std::optional<std::int32_t>> verify_answers;
    startup::WindowHandle owner = 0x99;

    bool saver_lock_held = false;   // by another copy
    bool saver_lock_taken = false;  // by this one
    std::vector<startup::Monitor> monitors = {{{0, 0, 1024, 768}, 96, true}};
    std::vector<startup::PixelRect> covers;  // shown now
    std::function<void()> monitors_changed;  // what WatchMonitors was given

    std::vector<std::string> calls;

    // The calls whose text starts with `prefix`.
    std::vector<std::string> CallsTo(const std::string& prefix) const;

    bool TakeSaverLock() override;
    bool SaverLockHeld() override;
    bool TopLevelWindowExists(const char* title) override;
    std::optional<std::int32_t> ReadScreenSaveUsePassword() override;
    startup::WindowHandle ForegroundWindow() override;
    bool ChangeScreenSaverPassword(startup::WindowHandle owner) override;
    std::int32_t ReadWindowLong(startup::WindowHandle window, std::int32_t index) override;
    void WriteWindowLong(startup::WindowHandle window, std::int32_t index,
                         std::int32_t value) override;
    void SetParent(startup::WindowHandle child, startup::WindowHandle parent) override;
    std::optional<startup::PixelSize> ClientSize(startup::WindowHandle window) override;
    void MakeTopmost(startup::WindowHandle window) override;
    void SetScreenSaverRunning(bool running) override;
    int ShowCursor(bool show) override;
    std::optional<startup::PixelPoint> CursorPosition() override;
    std::optional<std::int32_t> VerifyScreenSaverPassword(startup::WindowHandle window) override;
    startup::WindowHandle Owner(startup::WindowHandle window) override;
    void PostClose(startup::WindowHandle window) override;
    std::vector<startup::Monitor> Monitors() override;
    void ShowCovers(startup::WindowHandle owner,
                    const std::vector<startup::PixelRect>& rects) override;
    void WatchMonitors(startup::WindowHandle owner, std::function<void()> changed) override;

  private:
    void Record(const std::string& call) { calls.push_back(call); }
};

}  // namespace kivo::testing
