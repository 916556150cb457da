#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "forms_runtime/controls/file_system.h"

namespace kivo::forms::headless {

// Drives, folders and files held in memory, with Windows path rules: names compare without
// regard to case and "\" separates them.
class MemoryFileSystem : public FileSystem {
  public:
    // Adds a drive ("D:\"), optionally without a medium.
    void AddDrive(const std::string& root, const std::string& label = {}, bool ready = true);
    // Adds a folder and every missing ancestor (and its drive).
    void AddFolder(const std::string& folder, bool hidden = false);
    // Adds a file (and its folders) with the given contents and attributes.
    void AddFile(const std::string& path, std::string contents = {}, bool hidden = false,
                 bool system = false);
    void Remove(const std::string& path);
    // A file's contents; a file-not-found error when there is none.
    const std::string& Read(const std::string& path) const;

    void ListFolder(const std::string& folder,
                    const std::function<void(const FolderEntry&)>& each) override;
    bool FolderExists(const std::string& folder) override;
    std::vector<std::string> DriveRoots() override;
    std::string DriveLabel(const std::string& root) override;
    bool DriveReady(const std::string& root) override;

  private:
    struct Node {
        std::string name;  // as created, for listing
        bool is_folder = false;
        bool hidden = false;
        bool system = false;
        std::string contents;
    };
    struct Drive {
        std::string label;
        bool ready = true;
    };
    static std::string Key(const std::string& path);

    std::map<std::string, Drive> drives_;  // by root, "C:\"
    std::map<std::string, Node> nodes_;    // by folded full path without trailing separator
};

}  // namespace kivo::forms::headless
