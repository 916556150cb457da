#pragma once

#include <windows.h>

#include "forms_runtime/controls/timer.h"
#include "forms_runtime/form.h"

namespace kivo::forms::win32 {

// One system timer per timer control while it is enabled with an interval, once its form has
// loaded. A timer's identifier is its position among the form's controls, plus one.
class FormTimers {
  public:
    explicit FormTimers(Form& form) : form_(form) {}

    // Form_Load has returned: every runnable timer starts.
    void Start(HWND window);
    // The timer's interval or enabled state changed: it restarts, or stops.
    void Update(HWND window, Timer& timer);
    void StopAll(HWND window);
    // The timer control of a WM_TIMER identifier, or nullptr.
    Timer* Find(UINT_PTR id) const;

  private:
    UINT_PTR IdOf(const Timer& timer) const;

    Form& form_;
    bool started_ = false;
};

}  // namespace kivo::forms::win32
