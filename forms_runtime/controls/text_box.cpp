#include "forms_runtime/controls/text_box.h"

namespace kivo::forms {

TextBox::TextBox(ControlHost& host, const ControlSpec& layout, Control* container)
    : Control(host, layout, container), Text(std::string(layout.text)) {
    Text.on_change([this] { notify(ControlProperty::Text); });
}

}  // namespace kivo::forms
