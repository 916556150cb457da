#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>

#include "forms_runtime/background.h"

namespace kivo::forms::headless {

// Work off the window's thread as a test plays it: on a fast file system it runs at once, and
// what follows it arrives once the event that asked for it is over (DeliverArrived, which the
// headless backend calls after each event it plays, as a message loop would); on a slow one it
// waits until the test releases it. The clock stands still until the test steps it.
class HeldBackground : public Background {
  public:
    // A slow file system: from now on work waits for Release. Quick questions are still answered
    // at once, unless `quick_answers` is false: a system that does not answer, whose questions
    // use up the time they were given.
    void Hold(bool quick_answers = true) {
        holding_ = true;
        quick_answers_ = quick_answers;
    }
    enum class Order { AsAsked, NewestFirst };
    // Runs the work that waits, each followed by its arrival, then the work those ask for in
    // turn; from then on work runs at once again.
    void Release(Order order = Order::AsAsked);
    // Runs the oldest work that waits, then its arrival; what that asks for waits in turn.
    void ReleaseNext();
    // The work waiting at `position`, in the order asked, never finishes: it is dropped unrun.
    void NeverAnswer(std::size_t position);
    std::size_t waiting() const { return waiting_.size(); }
    // Runs, in order, what work that ran at once brings, and what those ask for in turn.
    void DeliverArrived();
    void Step(std::chrono::milliseconds time) { now_ += time; }

    void Run(std::function<void()> work, std::function<void()> arrive) override;
    bool Ask(std::function<void()> question, std::chrono::milliseconds within) override;
    std::chrono::milliseconds Now() override { return now_; }

  private:
    bool holding_ = false;
    bool quick_answers_ = true;
    std::chrono::milliseconds now_{0};
    std::deque<std::function<void()>> waiting_;  // each: the work, then its arrival
    std::deque<std::function<void()>> arrived_;  // what work run at once brought
};

}  // namespace kivo::forms::headless
