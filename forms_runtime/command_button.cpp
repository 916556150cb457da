#include "forms_runtime/command_button.h"

namespace kivo::forms {

CommandButton::CommandButton(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Caption(std::string(layout.text)) {
    Caption.on_change([this] { notify(ControlProperty::Caption); });
}

}  // namespace kivo::forms
