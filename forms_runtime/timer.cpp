#include "forms_runtime/timer.h"

namespace kivo::forms {

Timer::Timer(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Interval(layout.interval) {
    Interval.on_change([this] { notify(ControlProperty::Timer); });
    Enabled.on_change([this] { notify(ControlProperty::Timer); });
}

}  // namespace kivo::forms
