#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "forms_runtime/basics/color.h"

namespace kivo::forms {

enum class ControlKind {
    Label,
    Image,
    Timer,
    FileList,
    DirList,
    DriveList,
    TextBox,
    CheckBox,
    CommandButton,
    Frame,
};

// One row of a window's layout table: a control as it stands when the window is created. Sizes
// and positions are twips from the top-left corner of the container's client area. A colour left
// empty keeps the platform's default for the control's kind.
struct ControlSpec {
    ControlKind kind = ControlKind::Label;
    std::string_view name = {};
    int index = -1;                   // element of a control array, or -1
    std::string_view container = {};  // a frame's name, or empty for the window
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
    std::string_view text =
        {};  // caption of labels, buttons, frames, check boxes; text boxes' text
    std::optional<Color> fore_color = {};
    std::optional<Color> back_color = {};
    bool visible = true;
    bool auto_size = false;         // labels: width and height follow the text
    bool transparent = false;       // labels: only the letters are drawn
    bool stretch = false;           // images: the picture is drawn scaled to the control
    bool border = false;            // images: single-line border
    bool is_default = false;        // buttons: Enter presses it
    bool is_cancel = false;         // buttons: Esc presses it
    int tab_index = -1;             // -1: never takes the focus
    int interval = 0;               // timers, in milliseconds
    std::string_view picture = {};  // images: a picture resource of the executable
    int value = 0;                  // check boxes: 0 unchecked, 1 checked
};

enum class BorderStyle {
    None,             // no border, no caption bar: the client area is the whole window
    FixedToolWindow,  // a thin caption bar with a close box only, not resizable, no task-bar button
};

enum class StartUpPosition {
    CenterScreen,
    WindowsDefault,
};

struct FormSpec {
    std::string_view name = {};
    std::string_view caption = {};
    Color back_color = kBlack;
    BorderStyle border = BorderStyle::None;
    float client_width = 0;
    float client_height = 0;
    StartUpPosition start_up_position = StartUpPosition::WindowsDefault;
    bool has_icon = false;  // the executable's icon
    std::span<const ControlSpec> controls = {};
};

}  // namespace kivo::forms
