#include "forms_runtime/controls/timer.h"

namespace kivo::forms {

Timer::Timer(ControlHost& host, const ControlSpec& layout, Control* container)
    : Control(host, layout, container), Interval(layout.interval) {
    Interval.on_change([this] { notify(ControlProperty::Timer); });
    Enabled.on_change([this] { notify(ControlProperty::Timer); });
}

}  // namespace kivo::forms
