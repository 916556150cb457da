#include "forms_runtime/controls/control.h"

namespace kivo::forms {

Control::Control(ControlHost& host, const ControlSpec& layout, Control* container)
    : Left(layout.left),
      Top(layout.top),
      Width(layout.width),
      Height(layout.height),
      Visible(layout.visible),
      Enabled(true),
      ForeColor(layout.fore_color.value_or(kBlack)),
      BackColor(layout.back_color.value_or(kWhite)),
      host_(host),
      layout_(layout),
      container_(container) {
    for (Property<float>* edge : {&Left, &Top, &Width, &Height}) {
        edge->on_change([this] { notify(ControlProperty::Geometry); });
    }
    Visible.on_change([this] { notify(ControlProperty::Visible); });
    Enabled.on_change([this] { notify(ControlProperty::Enabled); });
    ForeColor.on_change([this] { notify(ControlProperty::Colors); });
    BackColor.on_change([this] { notify(ControlProperty::Colors); });
}

bool Control::windowed() const {
    switch (kind()) {
        case ControlKind::Label:
        case ControlKind::Image:
        case ControlKind::Timer:
            return false;
        default:
            return true;
    }
}

void Control::Move(float left, float top) {
    Left.store(left);
    Top.store(top);
    notify(ControlProperty::Geometry);
}

void Control::Move(float left, float top, float width, float height) {
    Left.store(left);
    Top.store(top);
    Width.store(width);
    Height.store(height);
    notify(ControlProperty::Geometry);
}

void Control::notify(ControlProperty what) {
    host_.ControlChanged(*this, what);
}

void Control::raise_change() {
    if (on_change) {
        on_change();
    }
}

}  // namespace kivo::forms
