#include "forms_runtime/form.h"

#include "forms_runtime/application.h"
#include "forms_runtime/controls/controls.h"
#include "forms_runtime/form_peer.h"

namespace kivo::forms {

namespace {

std::unique_ptr<Control> MakeControl(Form& form, const ControlSpec& layout, Control* container) {
    switch (layout.kind) {
        case ControlKind::Label:
            return std::make_unique<Label>(form, layout, container);
        case ControlKind::Image:
            return std::make_unique<Image>(form, layout, container);
        case ControlKind::Timer:
            return std::make_unique<Timer>(form, layout, container);
        case ControlKind::FileList:
            return std::make_unique<FileList>(form, layout, container);
        case ControlKind::DirList:
            return std::make_unique<DirList>(form, layout, container);
        case ControlKind::DriveList:
            return std::make_unique<DriveList>(form, layout, container);
        case ControlKind::TextBox:
            return std::make_unique<TextBox>(form, layout, container);
        case ControlKind::CheckBox:
            return std::make_unique<CheckBox>(form, layout, container);
        case ControlKind::CommandButton:
            return std::make_unique<CommandButton>(form, layout, container);
        case ControlKind::Frame:
            return std::make_unique<Frame>(form, layout, container);
    }
    throw std::logic_error("unknown control kind");
}

}  // namespace

Form::Form(Application& app, const FormSpec& layout)
    : Left(0),
      Top(0),
      Width(layout.client_width),
      Height(layout.client_height),
      Caption(std::string(layout.caption)),
      WindowState(0),
      app_(app),
      layout_(layout) {
    for (const ControlSpec& control : layout.controls) {
        Control* container = control.container.empty() ? nullptr : &find(control.container, -1);
        controls_.push_back(MakeControl(*this, control, container));
    }
    for (Property<float>* edge : {&Left, &Top, &Width, &Height}) {
        edge->on_change([this] { notify(FormProperty::Geometry); });
    }
    Caption.on_change([this] { notify(FormProperty::Caption); });
    WindowState.on_change([this] { notify(FormProperty::WindowState); });
}

Form::~Form() = default;

Services& Form::services() const {
    return app_;
}

std::intptr_t Form::hWnd() const {
    return peer_ ? peer_->Handle() : 0;
}

void Form::Move(float left, float top, float width, float height) {
    Left.store(left);
    Top.store(top);
    Width.store(width);
    Height.store(height);
    notify(FormProperty::Geometry);
}

void Form::Show(bool modal) {
    if (!loaded()) {
        throw std::logic_error("Show before Load");
    }
    shown_ = true;
    modal_ = modal;
    peer_->Show(modal);
}

Control& Form::find(std::string_view name, int index) const {
    for (const auto& control : controls_) {
        if (control->name() == name && control->index() == index) {
            return *control;
        }
    }
    throw std::logic_error("no control " + std::string(name) + " on form " +
                           std::string(layout_.name));
}

void Form::notify(FormProperty what) {
    if (peer_ && !unloaded_) {
        peer_->FormChanged(what);
    }
}

void Form::ControlChanged(Control& control, ControlProperty what) {
    if (peer_) {
        peer_->ControlChanged(control, what);
    }
}

std::optional<TextExtent> Form::MeasureText(const Control& control, const std::string& text) const {
    if (!peer_) {
        return std::nullopt;
    }
    return peer_->MeasureText(control, text);
}

}  // namespace kivo::forms
