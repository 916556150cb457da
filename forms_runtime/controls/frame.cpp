#include "forms_runtime/controls/frame.h"

namespace kivo::forms {

Frame::Frame(ControlHost& host, const ControlSpec& layout, Control* container)
    : Control(host, layout, container), Caption(std::string(layout.text)) {
    Caption.on_change([this] { notify(ControlProperty::Caption); });
}

}  // namespace kivo::forms
