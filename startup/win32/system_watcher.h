#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace kivo::startup {

// A hidden window that hears the system's notices for the slide show: monitors added, removed or
// moved, and the console's displays going off or coming back on. Owned by the slide show window,
// so that it goes when that goes. Window thread only.
class SystemWatcher {
  public:
    SystemWatcher() = default;
    ~SystemWatcher();
    SystemWatcher(const SystemWatcher&) = delete;
    SystemWatcher& operator=(const SystemWatcher&) = delete;

    // Calls `changed` after the monitors or their DPI changed, while `owner` lives. Several
    // notices of one change make one call.
    void WatchMonitors(HWND owner, std::function<void()> changed);
    // Calls `changed` with true when the console's displays come on or dim, false when they go
    // off, while `owner` lives; the system tells the state once at the start. A system that
    // refuses the registration never calls.
    void WatchDisplays(HWND owner, std::function<void(bool on)> changed);

    // What a power notice (WM_POWERBROADCAST) says of the console's displays: true when they are
    // on or dimmed, false when they are off; nothing for a notice of anything else, or one that
    // is not well formed.
    static std::optional<bool> ConsoleDisplaysOn(WPARAM event, LPARAM data);

  private:
    static LRESULT CALLBACK WatcherProcedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam);
    // The hidden window, made for `owner` (anew when the owner is another).
    HWND Window(HWND owner);
    void NoticeMonitors();
    void Forget();

    HWND watcher_ = nullptr;
    std::function<void()> monitors_changed_;
    bool monitors_change_pending_ = false;
    std::function<void(bool)> displays_changed_;
    HPOWERNOTIFY displays_registration_ = nullptr;
};

}  // namespace kivo::startup
