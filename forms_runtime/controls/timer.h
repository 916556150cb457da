#pragma once

#include <cstdint>
#include <functional>

#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"

namespace kivo::forms {

class Timer : public Control {
  public:
    Timer(ControlHost& host, const ControlSpec& layout, Control* container);
    Property<std::int32_t> Interval;  // milliseconds; 0 stops the timer
    std::function<void()> on_timer;
};

}  // namespace kivo::forms
