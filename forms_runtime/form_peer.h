#pragma once

#include <cstdint>
#include <string>

#include "forms_runtime/controls/control.h"
#include "forms_runtime/form.h"

namespace kivo::forms {

// The size of a window's frame around its client area, in twips.
struct FrameInsets {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

// A loaded form's presence on screen.
class FormPeer {
  public:
    virtual ~FormPeer() = default;
    virtual std::intptr_t Handle() const = 0;
    virtual FrameInsets Insets() const = 0;
    virtual void FormChanged(FormProperty what) = 0;
    virtual void ControlChanged(Control& control, ControlProperty what) = 0;
    // Shows the window. A modal show returns when the form has been unloaded.
    virtual void Show(bool modal) = 0;
    virtual void Destroy() = 0;
    // Called once Form_Load has returned: timers may run from now on.
    virtual void Loaded() = 0;
    virtual TextExtent MeasureText(const Control& control, const std::string& text) = 0;
};

}  // namespace kivo::forms
