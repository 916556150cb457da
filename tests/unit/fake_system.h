#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "startup/module/system.h"

namespace kivo::testing {

// Records every operating-system call as one line of text, its arguments in decimal ("SetParent
// 4096 1234"), in order, and answers as set up.
class FakeSystem : public startup::System {
  public:
    using Handle = startup::WindowHandle;

    bool saver_window_exists = false;
    std::optional<std::int32_t> use_password_value;
    bool password_change_available = true;
    std::optional<startup::PixelSize> host_client_size = startup::PixelSize{152, 112};
    int cursor_count = 0;
    std::optional<startup::PixelPoint> cursor;
    bool saver_lock_held = false;  // by another copy
    std::vector<startup::Monitor> monitors = {{{0, 0, 1024, 768}, 96, true}};
    std::function<void()> monitors_changed;         // what WatchMonitors was given
    std::function<void(bool on)> displays_changed;  // what WatchDisplays was given
    std::vector<std::string> calls;

    // Whether some call is `call`, or `call` followed by more arguments.
    bool Called(const std::string& call) const {
        return std::any_of(calls.begin(), calls.end(), [&](const std::string& made) {
            return made == call || made.starts_with(call + " ");
        });
    }

    bool TakeSaverLock() override { return Log(!saver_lock_held, "TakeSaverLock"); }
    bool SaverLockHeld() override { return Log(saver_lock_held, "SaverLockHeld"); }
    void LetGo() override { Log(0, "LetGo"); }
    bool TopLevelWindowExists(const char* title) override {
        return Log(saver_window_exists, "FindWindow", title);
    }
    std::optional<std::int32_t> ReadScreenSaveUsePassword() override {
        return Log(use_password_value, "ReadScreenSaveUsePassword");
    }
    Handle ForegroundWindow() override { return Log(77, "GetForegroundWindow"); }
    bool ChangeScreenSaverPassword(Handle owner) override {
        return Log(password_change_available, "PwdChangePassword", owner);
    }
    void MakeChild(Handle window) override { Log(0, "MakeChild", window); }
    void SetParent(Handle child, Handle parent) override { Log(0, "SetParent", child, parent); }
    std::optional<startup::PixelSize> ClientSize(Handle window) override {
        return Log(host_client_size, "ClientSize", window);
    }
    void MakeTopmost(Handle window) override { Log(0, "MakeTopmost", window); }
    void SetScreenSaverRunning(bool running) override { Log(0, "SetScreenSaverRunning", running); }
    int ShowCursor(bool show) override {
        cursor_count += show ? 1 : -1;
        return Log(cursor_count, "ShowCursor", show, "->", cursor_count);
    }
    std::optional<startup::PixelPoint> CursorPosition() override {
        return Log(cursor, "GetCursorPos");
    }
    // The password check's service is missing (a refused password: tests/e2e).
    std::optional<std::int32_t> VerifyScreenSaverPassword(Handle window) override {
        return Log(std::optional<std::int32_t>{}, "VerifyScreenSavePwd", window);
    }
    Handle Owner(Handle window) override { return Log(99, "GetWindow owner", window); }
    void PostClose(Handle window) override { Log(0, "PostClose", window); }
    std::vector<startup::Monitor> Monitors() override { return Log(monitors, "Monitors"); }
    void Accompany(Handle window, Handle owner) override { Log(0, "Accompany", window, owner); }
    void WatchMonitors(Handle owner, std::function<void()> changed) override {
        monitors_changed = Log(std::move(changed), "WatchMonitors", owner);
    }
    void WatchDisplays(Handle owner, std::function<void(bool)> changed) override {
        displays_changed = Log(std::move(changed), "WatchDisplays", owner);
    }

  private:
    static std::string Text(const char* text) { return text; }
    static std::string Text(long long number) { return std::to_string(number); }

    template <typename Answer, typename... Args>
    Answer Log(Answer answer, const char* name, const Args&... args) {
        std::string call = name;
        ((call += " " + Text(args)), ...);
        calls.push_back(call);
        return answer;
    }
};

}  // namespace kivo::testing
