#include "forms_runtime/win32/window/form_timers.h"

#include <algorithm>

namespace kivo::forms::win32 {

void FormTimers::Start(HWND window) {
    started_ = true;
    for (const auto& control : form_.controls()) {
        if (control->kind() == ControlKind::Timer) {
            Update(window, static_cast<Timer&>(*control));
        }
    }
}

void FormTimers::Update(HWND window, Timer& timer) {
    if (window == nullptr || !started_) {
        return;
    }
    const UINT_PTR id = IdOf(timer);
    const std::int32_t interval = timer.Interval;
    if (timer.Enabled && interval > 0) {
        const auto milliseconds =
            static_cast<UINT>(std::min<std::int64_t>(interval, USER_TIMER_MAXIMUM));
        SetTimer(window, id, milliseconds, nullptr);
    } else {
        KillTimer(window, id);
    }
}

void FormTimers::StopAll(HWND window) {
    started_ = false;
    for (const auto& control : form_.controls()) {
        if (control->kind() == ControlKind::Timer) {
            KillTimer(window, IdOf(static_cast<Timer&>(*control)));
        }
    }
}

Timer* FormTimers::Find(UINT_PTR id) const {
    const auto& controls = form_.controls();
    if (id == 0 || id > controls.size()) {
        return nullptr;
    }
    return dynamic_cast<Timer*>(controls[id - 1].get());
}

UINT_PTR FormTimers::IdOf(const Timer& timer) const {
    const auto& controls = form_.controls();
    const auto found =
        std::find_if(controls.begin(), controls.end(),
                     [&timer](const auto& control) { return control.get() == &timer; });
    return static_cast<UINT_PTR>(found - controls.begin()) + 1;
}

}  // namespace kivo::forms::win32
