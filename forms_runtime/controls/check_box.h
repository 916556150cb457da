#pragma once

#include <cstdint>
#include <string>

#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"

namespace kivo::forms {

class CheckBox : public Control {
  public:
    CheckBox(ControlHost& host, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
    Property<std::int16_t> Value;  // 0 unchecked, 1 checked
};

}  // namespace kivo::forms
