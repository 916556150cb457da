#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <utility>

#include "forms_runtime/background.h"
#include "forms_runtime/win32/background_threads.h"

namespace kivo::forms::win32 {

// The runtime's work off the window's thread, on the background threads: what each piece brings
// arrives on the window's thread. Now is the system's tick count in milliseconds.
class ThreadsBackground : public Background {
  public:
    explicit ThreadsBackground(BackgroundThreads& threads) : threads_(threads) {}
    void Run(std::function<void()> work, std::function<void()> arrive) override {
        threads_.Later(std::move(work), std::move(arrive));
    }
    bool Ask(std::function<void()> question, std::chrono::milliseconds within) override {
        return threads_.Briefly(std::move(question), static_cast<DWORD>(within.count()));
    }
    std::chrono::milliseconds Now() override { return std::chrono::milliseconds(GetTickCount64()); }

  private:
    BackgroundThreads& threads_;
};

}  // namespace kivo::forms::win32
