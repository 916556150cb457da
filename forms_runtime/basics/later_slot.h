#pragma once

#include <memory>

namespace kivo::forms {

// Where an owner (a control, a form's window, the picture loads) keeps the work it asked for
// later. Each new piece takes a ticket; only the latest ticket is wanted. Drop() and the slot's
// end, with its owner's, make every ticket unwanted, so that what arrives after them is dropped
// unrun. Tickets may be copied to any thread, but asked only on the thread that owns the slot.
class LaterSlot {
  public:
    class Ticket {
      public:
        // False once a newer ticket was taken, or the slot dropped or gone.
        bool wanted() const {
            const std::shared_ptr<const unsigned> latest = latest_.lock();
            return latest != nullptr && *latest == number_;
        }

      private:
        friend class LaterSlot;
        std::weak_ptr<const unsigned> latest_;
        unsigned number_ = 0;
    };

    LaterSlot() = default;
    LaterSlot(const LaterSlot&) = delete;
    LaterSlot& operator=(const LaterSlot&) = delete;

    // A ticket for a new piece of work: every ticket taken before it is no longer wanted.
    Ticket Take() {
        ++*latest_;
        return Current();
    }
    // The latest ticket, still wanted until the next Take, Drop or the slot's end.
    Ticket Current() const {
        Ticket ticket;
        ticket.latest_ = latest_;
        ticket.number_ = *latest_;
        return ticket;
    }
    void Drop() { ++*latest_; }

  private:
    std::shared_ptr<unsigned> latest_ = std::make_shared<unsigned>(0);
};

}  // namespace kivo::forms
