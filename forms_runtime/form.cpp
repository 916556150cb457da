#include "forms_runtime/form.h"

#include "forms_runtime/application.h"
#include "forms_runtime/backend.h"

namespace kivo::forms {

namespace {

std::unique_ptr<Control> MakeControl(Form& form, const ControlSpec& spec, Control* container) {
    switch (spec.kind) {
        case ControlKind::Label:
            return std::make_unique<Label>(form, spec, container);
        case ControlKind::Image:
            return std::make_unique<Image>(form, spec, container);
        case ControlKind::Timer:
            return std::make_unique<Timer>(form, spec, container);
        case ControlKind::FileList:
            return std::make_unique<FileList>(form, spec, container);
        case ControlKind::DirList:
            return std::make_unique<DirList>(form, spec, container);
        case ControlKind::DriveList:
            return std::make_unique<DriveList>(form, spec, container);
        case ControlKind::TextBox:
            return std::make_unique<TextBox>(form, spec, container);
        case ControlKind::CheckBox:
            return std::make_unique<CheckBox>(form, spec, container);
        case ControlKind::CommandButton:
            return std::make_unique<CommandButton>(form, spec, container);
        case ControlKind::Frame:
            return std::make_unique<Frame>(form, spec, container);
    }
    throw std::logic_error("unknown control kind");
}

}  // namespace

Form::Form(Application& app, const FormSpec& spec)
    : Left(0),
      Top(0),
      Width(spec.client_width),
      Height(spec.client_height),
      Caption(std::string(spec.caption)),
      WindowState(0),
      app_(app),
      spec_(spec) {
    for (const ControlSpec& control : spec.controls) {
        Control* container = control.container.empty() ? nullptr : &find(control.container, -1);
        controls_.push_back(MakeControl(*this, control, container));
    }
    for (Property<float>* edge : {&Left, &Top, &Width, &Height}) {
        edge->on_change([this] { notify(static_cast<int>(FormProperty::Geometry)); });
    }
    Caption.on_change([this] { notify(static_cast<int>(FormProperty::Caption)); });
    WindowState.on_change([this] { notify(static_cast<int>(FormProperty::WindowState)); });
}

Form::~Form() = default;

std::intptr_t Form::hWnd() const {
    return peer_ ? peer_->Handle() : 0;
}

void Form::Move(float left, float top, float width, float height) {
    Left.store(left);
    Top.store(top);
    Width.store(width);
    Height.store(height);
    notify(static_cast<int>(FormProperty::Geometry));
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
                           std::string(spec_.name));
}

void Form::notify(int what) {
    if (peer_ && !unloaded_) {
        peer_->FormChanged(static_cast<FormProperty>(what));
    }
}

}  // namespace kivo::forms
