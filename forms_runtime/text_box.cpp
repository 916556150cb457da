#include "forms_runtime/text_box.h"

namespace kivo::forms {

TextBox::TextBox(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Text(std::string(layout.text)) {
    Text.on_change([this] { notify(ControlProperty::Text); });
}

}  // namespace kivo::forms
