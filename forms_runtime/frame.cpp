#include "forms_runtime/frame.h"

namespace kivo::forms {

Frame::Frame(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Caption(std::string(layout.text)) {
    Caption.on_change([this] { notify(ControlProperty::Caption); });
}

}  // namespace kivo::forms
