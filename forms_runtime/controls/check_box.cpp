#include "forms_runtime/controls/check_box.h"

namespace kivo::forms {

CheckBox::CheckBox(ControlHost& host, const ControlSpec& layout, Control* container)
    : Control(host, layout, container),
      Caption(std::string(layout.text)),
      Value(static_cast<std::int16_t>(layout.value)) {
    Caption.on_change([this] { notify(ControlProperty::Caption); });
    Value.on_change([this] { notify(ControlProperty::Value); });
}

}  // namespace kivo::forms
