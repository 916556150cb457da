#pragma once

#include <string>

#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"

namespace kivo::forms {

class CommandButton : public Control {
  public:
    CommandButton(ControlHost& host, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
    bool is_default() const { return layout().is_default; }
    bool is_cancel() const { return layout().is_cancel; }
};

}  // namespace kivo::forms
