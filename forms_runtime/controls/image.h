#pragma once

#include <string>

#include "forms_runtime/basics/later_slot.h"
#include "forms_runtime/basics/picture.h"
#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"

namespace kivo::forms {

class Image : public Control {
  public:
    Image(ControlHost& host, const ControlSpec& layout, Control* container);
    Property<forms::Picture> Picture;
    // Off: the control takes its picture's natural size (plus its border). On: the picture is
    // drawn scaled to the control's size.
    Property<bool> Stretch;
    bool border() const { return layout().border; }
    // Loads a picture file off the window's thread and assigns it to `Picture` when it arrives.
    // A newer call or assignment of `Picture` drops a load still under way; a file that cannot
    // be loaded as a picture leaves the picture as it is.
    void LoadLater(const std::string& path, const DecodeHint& hint);

  private:
    void take_natural_size();
    LaterSlot loads_;
};

}  // namespace kivo::forms
