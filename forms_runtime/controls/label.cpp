#include "forms_runtime/controls/label.h"

namespace kivo::forms {

Label::Label(ControlHost& host, const ControlSpec& layout, Control* container)
    : Control(host, layout, container), Caption(std::string(layout.text)) {
    Caption.on_change([this] {
        fit_to_text();
        notify(ControlProperty::Caption);
    });
}

void Label::fit_to_text() {
    if (!AutoSize()) {
        return;
    }
    const std::optional<TextExtent> extent = host().MeasureText(*this, Caption);
    if (!extent) {
        return;
    }
    Width.store(extent->width);
    Height.store(extent->height);
    notify(ControlProperty::Geometry);
}

}  // namespace kivo::forms
