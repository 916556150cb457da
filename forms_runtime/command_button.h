#pragma once

#include <string>

#include "forms_runtime/control.h"
#include "forms_runtime/property.h"

namespace kivo::forms {

class CommandButton : public Control {
  public:
    CommandButton(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
    bool is_default() const { return layout().is_default; }
    bool is_cancel() const { return layout().is_cancel; }
};

}  // namespace kivo::forms
