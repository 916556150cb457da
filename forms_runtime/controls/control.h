#pragma once

#include <functional>
#include <string>

#include "forms_runtime/basics/layout.h"
#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control_host.h"

namespace kivo::forms {

// A control of a form. Its whole state lives here; a backend mirrors it and reports the user's
// input back as events. Controls are created from the form's layout table and never move in
// memory, so properties can capture `this`.
class Control {
  public:
    Control(ControlHost& host, const ControlSpec& layout, Control* container);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return layout_.kind; }
    std::string_view name() const { return layout_.name; }
    int index() const { return layout_.index; }
    const ControlSpec& layout() const { return layout_; }
    Control* container() const { return container_; }
    // The form it lies on, as far as a control sees it.
    ControlHost& host() const { return host_; }
    // Windowed controls are windows of their own on screen and lie above the windowless ones.
    bool windowed() const;
    int tab_index() const { return layout_.tab_index; }
    bool system_colors() const { return !layout_.back_color.has_value(); }

    Property<float> Left;
    Property<float> Top;
    Property<float> Width;
    Property<float> Height;
    Property<bool> Visible;
    Property<bool> Enabled;
    Property<Color> ForeColor;
    Property<Color> BackColor;

    void Move(float left, float top);
    void Move(float left, float top, float width, float height);

    // Events. The backend raises them through the application, never directly.
    std::function<void(int button, int shift, float x, float y)> on_mouse_move;
    std::function<void(int button, int shift, float x, float y)> on_mouse_down;
    std::function<void()> on_click;
    std::function<void()> on_dbl_click;
    std::function<void()> on_change;

  protected:
    void notify(ControlProperty what);
    // Runs the change event now, inside the assignment that caused it.
    void raise_change();

  private:
    ControlHost& host_;
    const ControlSpec& layout_;
    Control* container_;
};

}  // namespace kivo::forms
