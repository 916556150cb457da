#pragma once

#include <string>
#include <vector>

#include "forms_runtime/basics/name_list.h"
#include "forms_runtime/controls/file_system.h"
#include "forms_runtime/controls/services.h"

namespace kivo::forms {

// What the folder and file lists read. The readings run off the window's thread and touch
// nothing but the file system; errors are the file system's.

// The names of a folder's files, without folders, hidden or system files, sorted by name
// without regard to case.
NameList ListFiles(FileSystem& files, const std::string& folder);
// The names of a folder's subfolders, without hidden or system ones, sorted likewise.
std::vector<std::string> ListSubfolders(FileSystem& files, const std::string& folder);

// Whether the file system says quickly, while the form loads, that a folder is missing; false
// when it says it exists or gives no answer in time.
bool SaysMissing(Services& services, const std::string& folder);
// The same for a drive that holds no readable medium.
bool SaysNotReady(Services& services, const std::string& root);

}  // namespace kivo::forms
