#pragma once

#include <string>

#include "forms_runtime/control.h"
#include "forms_runtime/property.h"

namespace kivo::forms {

class TextBox : public Control {
  public:
    TextBox(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Text;
};

}  // namespace kivo::forms
