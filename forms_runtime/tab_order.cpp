#include "forms_runtime/tab_order.h"

#include <algorithm>

namespace kivo::forms {

std::vector<Control*> TabOrder(const Form& form) {
    std::vector<Control*> order;
    for (const auto& control : form.controls()) {
        if (control->windowed() && control->kind() != ControlKind::Frame &&
            control->tab_index() >= 0 && control->Visible && control->Enabled) {
            order.push_back(control.get());
        }
    }
    std::stable_sort(order.begin(), order.end(), [](const Control* a, const Control* b) {
        return a->tab_index() < b->tab_index();
    });
    return order;
}

}  // namespace kivo::forms
