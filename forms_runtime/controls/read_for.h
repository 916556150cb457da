#pragma once

#include <exception>
#include <functional>
#include <memory>
#include <utility>

#include "forms_runtime/basics/later_slot.h"
#include "forms_runtime/controls/control.h"
#include "forms_runtime/controls/services.h"

namespace kivo::forms {

// Whether what arrives for `control` under `ticket` may still touch it: the ticket is still its
// slot's latest (the control is there, nothing newer replaced the work) and the control's form
// has not been unloaded.
inline bool StillWanted(const LaterSlot::Ticket& ticket, const Control& control) {
    return ticket.wanted() && !control.host().unloaded();  // the ticket first: it outlives control
}

// Runs `read` off the window's thread for `control`; on the window's thread, if `ticket` is
// still wanted then, `arrive` gets what it read, or its error is raised there instead.
template <typename T>
void ReadFor(const Control& control, LaterSlot::Ticket ticket, std::function<T()> read,
             std::function<void(T&)> arrive) {
    auto result = std::make_shared<T>();
    control.host().services().ReadLater(
        [read = std::move(read), result] { *result = read(); },
        [&control, ticket, result, arrive = std::move(arrive)](std::exception_ptr error) {
            if (!StillWanted(ticket, control)) {
                return;
            }
            if (error != nullptr) {
                std::rethrow_exception(error);
            }
            arrive(*result);
        });
}

}  // namespace kivo::forms
