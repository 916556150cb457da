#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <utility>

#include "forms_runtime/controls/services.h"

namespace kivo::forms {

class Control;

// Tells a control's reading, when it arrives, whether it is still wanted: a newer reading of the
// same kind replaces it, and so do the control's end and its form's unloading. One set of tickets
// for each kind of reading a control makes.
class ReadingTickets {
    struct State {
        const Control* control;
        unsigned latest = 0;
    };

  public:
    class Ticket {
      public:
        // False once a newer ticket was taken, the control is gone or its form unloaded. Only a
        // wanted reading may touch its control.
        bool wanted() const;

      private:
        friend class ReadingTickets;
        std::weak_ptr<const State> state_;
        unsigned number_ = 0;
    };

    explicit ReadingTickets(const Control& control)
        : state_(std::make_shared<State>(State{&control})) {}

    // A ticket for a new reading: every ticket taken before it is no longer wanted.
    Ticket Take();

  private:
    std::shared_ptr<State> state_;  // the tickets' weak hold on it expires with the control
};

// Runs `read` off the window's thread for a control; on the window's thread, if `ticket` is still
// wanted then, `take` gets what it read, or its error is raised there instead.
template <typename T>
void ReadFor(Services& services, ReadingTickets::Ticket ticket, std::function<T()> read,
             std::function<void(T&)> take) {
    auto result = std::make_shared<T>();
    services.ReadLater([read = std::move(read), result] { *result = read(); },
                       [ticket, result, take = std::move(take)](std::exception_ptr error) {
                           if (!ticket.wanted()) {
                               return;
                           }
                           if (error != nullptr) {
                               std::rethrow_exception(error);
                           }
                           take(*result);
                       });
}

}  // namespace kivo::forms
