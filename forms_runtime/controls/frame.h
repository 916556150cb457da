#pragma once

#include <string>

#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"

namespace kivo::forms {

class Frame : public Control {
  public:
    Frame(ControlHost& host, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
};

}  // namespace kivo::forms
