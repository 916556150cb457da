#pragma once

#include <windows.h>

#include <functional>
#include <vector>

#include "startup/module/system.h"

namespace kivo::startup {

// The black windows over the monitors beside the slide show, and a hidden window that hears of
// monitor changes. All of them are owned by the slide show window, so they go when it goes. Window
// thread only.
class MonitorCovers {
  public:
    MonitorCovers() = default;
    ~MonitorCovers();
    MonitorCovers(const MonitorCovers&) = delete;
    MonitorCovers& operator=(const MonitorCovers&) = delete;

    // Moves, makes or destroys covers until there is one over each rectangle (pixels).
    void Show(HWND owner, const std::vector<PixelRect>& rects);
    // Calls `changed` after the monitors or their DPI changed, while `owner` lives. Several
    // notices of one change (every top-level window hears it) make one call.
    void Watch(HWND owner, std::function<void()> changed);

  private:
    static LRESULT CALLBACK CoverProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK WatcherProcedure(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam);
    HWND CreateCover(HWND owner, const PixelRect& rect);
    void Forget(HWND window);
    void NoticeChange();

    std::vector<HWND> covers_;
    HWND watcher_ = nullptr;
    std::function<void()> changed_;
    bool change_pending_ = false;
};

}  // namespace kivo::startup
