#pragma once

#include <functional>
#include <string>

#include "forms_runtime/basics/later_slot.h"
#include "forms_runtime/basics/name_list.h"
#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"

namespace kivo::forms {

// Lists every file of the folder that `Path` names, except hidden and system files, sorted by
// name without regard to case. The folder is read once for each assignment of `Path`, off the
// window's thread: the assignment returns at once with the list empty, and the names arrive
// later. A reading that a newer assignment replaced is dropped.
class FileList : public Control {
  public:
    FileList(ControlHost& host, const ControlSpec& layout, Control* container);
    // A missing folder raises a path-not-found error: at once when the file system says so
    // quickly while the form loads, else when its reading arrives.
    Property<std::string> Path;
    Property<int> ListIndex;  // the selected position, -1 for none

    int ListCount() const { return files_.size(); }
    // The name at a position; empty for a position the list does not have.
    std::string List(int position) const;
    // The selected file's name, without folder; empty when none is selected.
    std::string FileName() const { return List(ListIndex); }
    // Runs on the window's thread, in the event that brings them, once a reading's names are in
    // the list.
    std::function<void()> on_listed;

  private:
    NameList files_;
    LaterSlot readings_;
};

}  // namespace kivo::forms
