#include "forms_runtime/controls/reading_tickets.h"

#include "forms_runtime/controls/control.h"

namespace kivo::forms {

bool ReadingTickets::Ticket::wanted() const {
    const std::shared_ptr<const State> state = state_.lock();
    return state != nullptr && state->latest == number_ && !state->control->host().unloaded();
}

ReadingTickets::Ticket ReadingTickets::Take() {
    Ticket ticket;
    ticket.state_ = state_;
    ticket.number_ = ++state_->latest;
    return ticket;
}

}  // namespace kivo::forms
