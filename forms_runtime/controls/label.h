#pragma once

#include <string>

#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"

namespace kivo::forms {

class Label : public Control {
  public:
    Label(ControlHost& host, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
    bool AutoSize() const { return layout().auto_size; }
    bool transparent() const { return layout().transparent; }

  private:
    void fit_to_text();
};

}  // namespace kivo::forms
