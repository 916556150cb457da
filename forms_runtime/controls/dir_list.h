#pragma once

#include <string>
#include <vector>

#include "forms_runtime/basics/later_slot.h"
#include "forms_runtime/basics/property.h"
#include "forms_runtime/controls/control.h"

namespace kivo::forms {

// One line of a folder list: the open folder's ancestors (from the root), the open folder itself,
// then its subfolders.
struct FolderListEntry {
    std::string path;
    std::string label;
    int depth = 0;
    bool is_open = false;  // the folder that `Path` names
};

// Shows the open folder within its drive; the user opens another with a double click or Enter,
// which assigns `Path`. Assigning a different folder raises the change event before it returns;
// the lines of the folder and its ancestors are there at once, the subfolders' lines arrive
// when the folder has been read off the window's thread.
class DirList : public Control {
  public:
    DirList(ControlHost& host, const ControlSpec& layout, Control* container);
    // The open folder, without a trailing separator except at a drive root. A missing folder
    // raises a path-not-found error: at once, leaving the list as it was, when the file system
    // says so quickly while the form loads; else when its reading arrives.
    Property<std::string> Path;
    const std::vector<FolderListEntry>& entries() const { return entries_; }
    int ListIndex = -1;  // the highlighted line, for the backend

  private:
    void open(const std::string& folder);
    std::vector<FolderListEntry> entries_;
    LaterSlot readings_;
};

}  // namespace kivo::forms
