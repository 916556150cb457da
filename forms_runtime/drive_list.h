#pragma once

#include <string>
#include <vector>

#include "forms_runtime/control.h"
#include "forms_runtime/file_system.h"
#include "forms_runtime/property.h"

namespace kivo::forms {

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
