#include "forms_runtime/check_box.h"

namespace kivo::forms {

CheckBox::CheckBox(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container),
      Caption(std::string(layout.text)),
      Value(static_cast<std::int16_t>(layout.value)) {
    Caption.on_change([this] { notify(ControlProperty::Caption); });
    Value.on_change([this] { notify(ControlProperty::Value); });
}

}  // namespace kivo::forms
