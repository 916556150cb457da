#pragma once

#include <optional>
#include <string>

namespace kivo::forms {

class Control;
class Services;

// What changed on a control, so that a backend can mirror it on screen.
enum class ControlProperty {
    Geometry,
    Visible,
    Enabled,
    Colors,
    Caption,  // labels, buttons, check boxes, frames
    Text,     // text boxes
    Value,    // check boxes
    Picture,  // images: picture or stretch
    List,     // list contents of file, folder and drive lists
    Selection,
    Timer,  // interval or enabled
};

// A text's size in a control's font, in twips.
struct TextExtent {
    float width = 0;
    float height = 0;
};

// What a control asks of the form it lies on; the form implements it, and controls see nothing
// else of it. Called on the window's thread.
class ControlHost {
  public:
    // What the program offers the form and its controls.
    virtual Services& services() const = 0;
    // Once the form has been unloaded, readings that its controls asked for are dropped.
    virtual bool unloaded() const = 0;
    // Mirrors a control's change on screen; nothing happens before the form has a window.
    virtual void ControlChanged(Control& control, ControlProperty what) = 0;
    // Nothing before the form has a window.
    virtual std::optional<TextExtent> MeasureText(const Control& control,
                                                  const std::string& text) const = 0;

  protected:
    ~ControlHost() = default;
};

}  // namespace kivo::forms
