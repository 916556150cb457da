#include "forms_runtime/label.h"

#include "forms_runtime/form.h"
#include "forms_runtime/form_peer.h"

namespace kivo::forms {

Label::Label(Form& form, const ControlSpec& layout, Control* container)
    : Control(form, layout, container), Caption(std::string(layout.text)) {
    Caption.on_change([this] {
        fit_to_text();
        notify(ControlProperty::Caption);
    });
}

void Label::fit_to_text() {
    FormPeer* peer = form().peer();
    if (!AutoSize() || peer == nullptr) {
        return;
    }
    const TextExtent extent = peer->MeasureText(*this, Caption);
    Width.store(extent.width);
    Height.store(extent.height);
    notify(ControlProperty::Geometry);
}

}  // namespace kivo::forms
