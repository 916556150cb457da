#include "forms_runtime/headless/held_background.h"

#include <utility>

namespace kivo::forms::headless {

void HeldBackground::Run(std::function<void()> work, std::function<void()> arrive) {
    if (holding_) {
        auto piece = [work = std::move(work), arrive = std::move(arrive)] {
            work();
            arrive();
        };
        waiting_.push_back(std::move(piece));
        return;
    }
    work();
    arrived_.push_back(std::move(arrive));
}

void HeldBackground::DeliverArrived() {
    while (!arrived_.empty()) {
        auto arrive = std::move(arrived_.front());
        arrived_.pop_front();
        arrive();
    }
}

bool HeldBackground::Ask(std::function<void()> question, std::chrono::milliseconds within) {
    if (holding_ && !quick_answers_) {
        now_ += within;  // waited for in vain
        return false;
    }
    question();
    return true;
}

void HeldBackground::ReleaseNext() {
    if (!waiting_.empty()) {
        auto piece = std::move(waiting_.front());
        waiting_.pop_front();
        piece();
    }
}

void HeldBackground::NeverAnswer(std::size_t position) {
    if (position < waiting_.size()) {
        waiting_.erase(waiting_.begin() + static_cast<std::ptrdiff_t>(position));
    }
}

void HeldBackground::Release(Order order) {
    while (!waiting_.empty()) {
        const bool newest = order == Order::NewestFirst;
        auto piece = std::move(newest ? waiting_.back() : waiting_.front());
        newest ? waiting_.pop_back() : waiting_.pop_front();
        piece();
    }
    holding_ = false;
    DeliverArrived();
}

}  // namespace kivo::forms::headless
