#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>

namespace kivo::forms::win32 {

// Work that may wait (the file system) on threads of its own, one for each piece, so that a
// share that never answers holds back nothing but its own piece. What follows a piece runs on
// the window's thread: it is posted to a message-only window, which every message loop of that
// thread delivers (the program's, a modal form's, a message box's, a tick's wait).
class BackgroundWork {
  public:
    // Call on the window's thread.
    BackgroundWork();
    // Pieces still running are left to run; what follows them is not run.
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // Runs `work` on a thread of its own, then `then` on the window's thread. Neither may throw.
    void RunLater(std::function<void()> work, std::function<void()> then);
    // Runs `work` on a thread of its own and waits for it at most `within_ms`: true when it has
    // finished. It may not throw.
    bool RunBriefly(std::function<void()> work, DWORD within_ms);
    // Runs `then` on the window's thread from its message loop; may be called from any thread.
    // Dropped when the window's thread has gone.
    void Post(std::function<void()> then) const { PostTo(window_, std::move(then)); }
    static void PostTo(HWND window, std::function<void()> then);
    HWND window() const { return window_; }
    // Whether a piece still runs: it may never end, so the process must not wait for it.
    bool busy() const { return *running_ > 0; }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void Spawn(std::function<void()> piece);

    HWND window_ = nullptr;
    std::shared_ptr<std::atomic<int>> running_ = std::make_shared<std::atomic<int>>(0);
};

}  // namespace kivo::forms::win32
