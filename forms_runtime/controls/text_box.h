#pragma once

#include <string>

#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"

namespace kivo::forms {

class TextBox : public Control {
  public:
    TextBox(ControlHost& host, const ControlSpec& layout, Control* container);
    Property<std::string> Text;
};

}  // namespace kivo::forms
