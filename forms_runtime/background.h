#pragma once

#include <chrono>
#include <functional>

namespace kivo::forms {

// Work that may wait (the file system) away from the window's thread, and what follows it on
// that thread. Called on the window's thread only.
class Background {
  public:
    virtual ~Background() = default;
    // Runs `work` elsewhere, then `arrive` on the window's thread from whichever message loop of
    // that thread runs then (the headless one: when the test lets it). Neither may throw. When
    // the backend ends first, `arrive` is dropped unrun.
    virtual void Run(std::function<void()> work, std::function<void()> arrive) = 0;
    // Runs `question` elsewhere and waits for it at most `within`: true when it has finished.
    // Otherwise it runs on to its end unwatched. It may not throw.
    virtual bool Ask(std::function<void()> question, std::chrono::milliseconds within) = 0;
    // A steady clock, in milliseconds from a point of the backend's choosing.
    virtual std::chrono::milliseconds Now() = 0;
};

}  // namespace kivo::forms
