#include "forms_runtime/controls/folder_readings.h"

#include <algorithm>
#include <memory>

#include "forms_runtime/basics/paths.h"

namespace kivo::forms {

namespace {

// Asks a yes-or-no question of the file system briefly: true only for a quick "no".
bool QuickNo(Services& services, std::function<bool(FileSystem&)> question) {
    auto yes = std::make_shared<bool>(true);
    return services.AskBriefly([&files = services.Files(), question = std::move(question), yes] {
        *yes = question(files);
    }) && !*yes;
}

}  // namespace

NameList ListFiles(FileSystem& files, const std::string& folder) {
    NameList names;
    files.ListFolder(folder, [&names](const FolderEntry& entry) {
        if (!entry.is_folder && !entry.hidden && !entry.system) {
            names.Add(entry.name);
        }
    });
    names.Sort();
    return names;
}

std::vector<std::string> ListSubfolders(FileSystem& files, const std::string& folder) {
    std::vector<std::string> names;
    files.ListFolder(folder, [&names](const FolderEntry& entry) {
        if (entry.is_folder && !entry.hidden && !entry.system) {
            names.emplace_back(entry.name);
        }
    });
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return NameLess(a, b); });
    return names;
}

bool SaysMissing(Services& services, const std::string& folder) {
    return QuickNo(services, [folder](FileSystem& files) { return files.FolderExists(folder); });
}

bool SaysNotReady(Services& services, const std::string& root) {
    return QuickNo(services, [root](FileSystem& files) { return files.DriveReady(root); });
}

}  // namespace kivo::forms
