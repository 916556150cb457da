#pragma once

#include <string>
#include <vector>

#include "forms_runtime/control.h"
#include "forms_runtime/property.h"

namespace kivo::forms {

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

}  // namespace kivo::forms
