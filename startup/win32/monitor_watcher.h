#pragma once

#include <windows.h>

#include <functional>

namespace kivo::startup {

// A hidden window that hears of monitor changes, owned by the slide show window so that it goes
// when that goes. Window thread only.
class MonitorWatcher {
  public:
    MonitorWatcher() = default;
    ~MonitorWatcher();
    MonitorWatcher(const MonitorWatcher&) = delete;
    MonitorWatcher& operator=(const MonitorWatcher&) = delete;

    // Calls `changed` after the monitors or their DPI changed, while `owner` lives. Several
    // notices of one change make one call.
    void Watch(HWND owner, std::function<void()> changed);

  private:
    static LRESULT CALLBACK WatcherProcedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam);
    void NoticeChange();

    HWND watcher_ = nullptr;
    std::function<void()> changed_;
    bool change_pending_ = false;
};

}  // namespace kivo::startup
