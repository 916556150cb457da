#include "forms_runtime/controls/command_button.h"

namespace kivo::forms {

CommandButton::CommandButton(ControlHost& host, const ControlSpec& layout, Control* container)
    : Control(host, layout, container), Caption(std::string(layout.text)) {
    Caption.on_change([this] { notify(ControlProperty::Caption); });
}

}  // namespace kivo::forms
