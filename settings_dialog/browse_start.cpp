#include "settings_dialog/browse_start.h"

#include "forms_runtime/paths.h"

namespace kivo::settings_dialog {

std::string BrowseStart(const std::string& stored, forms::FileSystem& files,
                        const std::string& executable_folder) {
    const std::string root = forms::DriveRoot(stored);
    if (!root.empty() && files.DriveReady(root)) {
        for (std::string folder = forms::NormalizeFolder(stored); !folder.empty();
             folder = forms::ParentFolder(folder)) {
            if (files.FolderExists(folder)) {
                return folder == forms::NormalizeFolder(stored) ? stored : folder;
            }
        }
    }
    return executable_folder;
}

}  // namespace kivo::settings_dialog
