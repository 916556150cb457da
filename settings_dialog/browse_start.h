#pragma once

#include <string>

#include "forms_runtime/file_system.h"

namespace kivo::settings_dialog {

// The folder the dialog opens its lists on for a stored folder: the folder itself when it
// exists, else its nearest existing ancestor, else the executable's folder. A stored folder that
// has gone away must not keep the user out of the dialog that changes it.
std::string BrowseStart(const std::string& stored, forms::FileSystem& files,
                        const std::string& executable_folder);

}  // namespace kivo::settings_dialog
