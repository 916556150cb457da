#pragma once

#include <string>

#include "forms_runtime/controls/file_system.h"
#include "forms_runtime/controls/services.h"

namespace kivo::settings_dialog {

// The folder the dialog opens its lists on for a stored folder: the folder itself when it
// exists, else its nearest existing ancestor, else the executable's folder. A stored folder that
// has gone away must not keep the user out of the dialog that changes it.
std::string BrowseStart(const std::string& stored, forms::FileSystem& files,
                        const std::string& executable_folder);

// The same, asked of the file system briefly while the dialog loads: a folder it says nothing
// about in time (a share that sleeps, or is gone and slow to say so) counts as gone, so that
// the dialog opens at once where it can be used.
std::string BrowseStartQuickly(const std::string& stored, forms::Services& services);

}  // namespace kivo::settings_dialog
