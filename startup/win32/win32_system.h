#pragma once

#include <windows.h>

#include "startup/module/system.h"
#include "startup/win32/system_watcher.h"

namespace kivo::startup {

// The operating-system calls of the start-up module and the slide show window, over Win32.
class Win32System : public System {
  public:
    Win32System() = default;
    ~Win32System() override;
    Win32System(const Win32System&) = delete;
    Win32System& operator=(const Win32System&) = delete;

    bool TakeSaverLock() override;
    bool SaverLockHeld() override;
    void LetGo() override;
    bool TopLevelWindowExists(const char* title) override;
    std::optional<std::int32_t> ReadScreenSaveUsePassword() override;
    WindowHandle ForegroundWindow() override;
    bool ChangeScreenSaverPassword(WindowHandle owner) override;
    void MakeChild(WindowHandle window) override;
    void SetParent(WindowHandle child, WindowHandle parent) override;
    std::optional<PixelSize> ClientSize(WindowHandle window) override;
    void MakeTopmost(WindowHandle window) override;
    void SetScreenSaverRunning(bool running) override;
    int ShowCursor(bool show) override;
    std::optional<PixelPoint> CursorPosition() override;
    std::optional<std::int32_t> VerifyScreenSaverPassword(WindowHandle window) override;
    WindowHandle Owner(WindowHandle window) override;
    void PostClose(WindowHandle window) override;
    std::vector<Monitor> Monitors() override;
    void Accompany(WindowHandle window, WindowHandle owner) override;
    void WatchMonitors(WindowHandle owner, std::function<void()> changed) override;
    void WatchDisplays(WindowHandle owner, std::function<void(bool on)> changed) override;

  private:
    HANDLE saver_lock_ = nullptr;        // held until LetGo
    bool screen_saver_running_ = false;  // as this program last told the system
    SystemWatcher watcher_;
};

}  // namespace kivo::startup
