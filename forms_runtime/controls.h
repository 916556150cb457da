#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "forms_runtime/color.h"
#include "forms_runtime/file_system.h"
#include "forms_runtime/layout.h"
#include "forms_runtime/picture.h"
#include "forms_runtime/property.h"

namespace kivo::forms {

class Form;

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

// A control of a form. Its whole state lives here; a backend mirrors it and reports the user's
// input back as events. Controls are created from the form's layout table and never move in
// memory, so properties can capture `this`.
class Control {
  public:
    Control(Form& form, const ControlSpec& layout, Control* container);
    virtual ~Control() = default;
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind kind() const { return layout_.kind; }
    std::string_view name() const { return layout_.name; }
    int index() const { return layout_.index; }
    const ControlSpec& layout() const { return layout_; }
    Control* container() const { return container_; }
    Form& form() const { return form_; }
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
    Form& form_;
    const ControlSpec& layout_;
    Control* container_;
};

class Label : public Control {
  public:
    Label(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
    bool AutoSize() const { return layout().auto_size; }
    bool transparent() const { return layout().transparent; }

  private:
    void fit_to_text();
};

class Image : public Control {
  public:
    Image(Form& form, const ControlSpec& layout, Control* container);
    Property<forms::Picture> Picture;
    // Off: the control takes its picture's natural size (plus its border). On: the picture is
    // drawn scaled to the control's size.
    Property<bool> Stretch;
    bool border() const { return layout().border; }

  private:
    void take_natural_size();
};

class Timer : public Control {
  public:
    Timer(Form& form, const ControlSpec& layout, Control* container);
    Property<std::int32_t> Interval;  // milliseconds; 0 stops the timer
    std::function<void()> on_timer;
};

class TextBox : public Control {
  public:
    TextBox(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Text;
};

class CheckBox : public Control {
  public:
    CheckBox(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
    Property<std::int16_t> Value;  // 0 unchecked, 1 checked
};

class CommandButton : public Control {
  public:
    CommandButton(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
    bool is_default() const { return layout().is_default; }
    bool is_cancel() const { return layout().is_cancel; }
};

class Frame : public Control {
  public:
    Frame(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Caption;
};

// Lists every file of the folder that `Path` names, except hidden and system files, sorted by
// name without regard to case. The folder is read once, when `Path` is assigned.
class FileList : public Control {
  public:
    FileList(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Path;  // a missing folder raises a path-not-found error
    Property<int> ListIndex;     // the selected position, -1 for none

    int ListCount() const { return static_cast<int>(files_.size()); }
    // The name at a position; empty for a position the list does not have.
    std::string List(int position) const;
    // The selected file's name, without folder; empty when none is selected.
    std::string FileName() const { return List(ListIndex); }

  private:
    void read_folder(const std::string& folder);
    std::vector<std::string> files_;
};

// One line of a folder list: the open folder's ancestors (from the root), the open folder itself,
// then its subfolders.
struct FolderListEntry {
    std::string path;
    std::string label;
    int depth = 0;
    bool is_open = false;  // the folder that `Path` names
};

// Shows the open folder within its drive; the user opens another with a double click or Enter,
// which assigns `Path`. Assigning a different folder raises the change event.
class DirList : public Control {
  public:
    DirList(Form& form, const ControlSpec& layout, Control* container);
    // The open folder, without a trailing separator except at a drive root. Assigning a missing
    // folder raises a path-not-found error and leaves the list as it was.
    Property<std::string> Path;
    const std::vector<FolderListEntry>& entries() const { return entries_; }
    int ListIndex = -1;  // the highlighted line, for the backend

  private:
    void open(const std::string& folder);
    std::vector<FolderListEntry> entries_;
};

// The system's drives; `Drive` is the selected one's root ("C:\"). Assigning a text selects the
// drive of its first letter; a different drive raises the change event. A drive that is absent
// or holds no medium raises a device-unavailable error.
class DriveList : public Control {
  public:
    DriveList(Form& form, const ControlSpec& layout, Control* container);
    Property<std::string> Drive;
    const std::vector<DriveInfo>& drives() const { return drives_; }
    // "c: [label]", as the list shows a drive.
    static std::string DisplayText(const DriveInfo& drive);
    void refresh();
    // The user picked a drive in the list. A drive that is not ready is refused with a message,
    // and the list shows the drive it showed before: picking is no reason to end the program.
    void UserPick(const std::string& root);

  private:
    void select(const std::string& text);
    std::vector<DriveInfo> drives_;
};

}  // namespace kivo::forms
