#pragma once

#include "forms_runtime/control.h"
#include "forms_runtime/picture.h"
#include "forms_runtime/property.h"

namespace kivo::forms {

class Image : public Control {
  public:
    Image(Form& form, const ControlSpec& layout, Control* container);
    Property<forms::Picture> Picture;
    // Off: the control takes its picture's natural size (plus its border). On: the picture is
    // drawn scaled to the control's size.
    Property<bool> Stretch;
    bool border() const { return layout().border; }

  private:
    void take_natural_size();
};

}  // namespace kivo::forms
