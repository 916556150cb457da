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
    // Hands functions to the window's thread, to run from its message loop; copied freely and
    // called from any thread. What arrives after the BackgroundWork's end is dropped unrun.
    class Poster {
      public:
        void operator()(std::function<void()> then) const;

      private:
        friend class BackgroundWork;
        HWND window_ = nullptr;
        std::weak_ptr<const int> alive_;
    };
    Poster poster() const;
    void Post(std::function<void()> then) const { poster()(std::move(then)); }
    // Whether a piece still runs: it may never end, so the process must not wait for it.
    bool busy() const { return *running_ > 0; }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void Spawn(std::function<void()> piece);

    HWND window_ = nullptr;
    std::shared_ptr<const int> alive_ = std::make_shared<const int>(0);
    std::shared_ptr<std::atomic<int>> running_ = std::make_shared<std::atomic<int>>(0);
};

}  // namespace kivo::forms::win32
