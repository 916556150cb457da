#pragma once

#include <string>
#include <vector>

#include "forms_runtime/basics/later_slot.h"
#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"

namespace kivo::forms {

struct DriveInfo {
    std::string root;   // "C:\"
    std::string label;  // volume label, possibly empty
};

// The system's drives; `Drive` is the selected one's root ("C:\"). Assigning a text selects the
// drive of its first letter; a different drive raises the change event before the assignment
// returns. The list's lines are read off the window's thread: the drives' roots first, then each
// drive's label on its own, so that a drive that does not answer holds back only its label.
class DriveList : public Control {
  public:
    DriveList(ControlHost& host, const ControlSpec& layout, Control* container);
    // A drive that is absent or holds no medium raises a device-unavailable error when the file
    // system says so quickly while the form loads; otherwise the list takes it as it is.
    Property<std::string> Drive;
    const std::vector<DriveInfo>& drives() const { return drives_; }
    // "c: [label]", as the list shows a drive.
    static std::string DisplayText(const DriveInfo& drive);
    // The user picked a drive in the list. The list asks the drive off the window's thread
    // whether it is ready; a ready drive is then selected, one that is not is refused with a
    // message and the list shows the drive it showed before: picking is no reason to end the
    // program. A newer pick replaces one whose answer has not come yet.
    void UserPick(const std::string& root);

  private:
    void refresh();
    void select(const std::string& text);
    std::vector<DriveInfo> drives_;
    LaterSlot listings_;
    LaterSlot picks_;
};

}  // namespace kivo::forms
