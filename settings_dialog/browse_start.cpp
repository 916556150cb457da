#include "settings_dialog/browse_start.h"

#include <memory>

#include "forms_runtime/basics/paths.h"

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

std::string BrowseStartQuickly(const std::string& stored, forms::Services& services) {
    auto found = std::make_shared<std::string>();
    const bool answered =
        services.AskBriefly([stored, &files = services.Files(), exe = services.Path(), found] {
            *found = BrowseStart(stored, files, exe);
        });
    return answered ? *found : services.Path();
}

}  // namespace kivo::settings_dialog
