#pragma once

#include <string>
#include <vector>

namespace kivo::forms {

struct DriveInfo {
    std::string root;   // "C:\"
    std::string label;  // volume label, possibly empty
};

struct FolderEntry {
    std::string name;
    bool is_folder = false;
    bool hidden = false;
    bool system = false;
};

// The file system as the list controls see it. Paths are Windows paths in UTF-8.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // The entries of a folder (without "." and ".."); a path-not-found error when it is missing.
    virtual std::vector<FolderEntry> ListFolder(const std::string& folder) = 0;
    virtual bool FolderExists(const std::string& folder) = 0;
    virtual std::vector<DriveInfo> Drives() = 0;
    // Whether a drive ("C:\") holds a readable medium.
    virtual bool DriveReady(const std::string& root) = 0;
};

}  // namespace kivo::forms
