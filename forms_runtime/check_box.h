#pragma once

#include <cstdint>
#include <string>

#include "forms_runtime/control.h"
#include "forms_runtime/property.h"

namespace kivo::forms {

class CheckBox : public Control {
  public:
    CheckBox(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
    Property<std::int16_t> Value;  // 0 unchecked, 1 checked
};

}  // namespace kivo::forms
