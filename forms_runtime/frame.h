#pragma once

#include <string>

#include "forms_runtime/control.h"
#include "forms_runtime/property.h"

namespace kivo::forms {

class Frame : public Control {
  public:
    Frame(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
};

}  // namespace kivo::forms
