#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kivo::forms {

// One entry of a folder, as a listing hands it on. The name lives only during the call.
struct FolderEntry {
    std::string_view name;
    bool is_folder = false;
    bool hidden = false;
    bool system = false;
};

// The file system as the list controls see it. Paths are Windows paths in UTF-8. Any call may
// wait for minutes (a share that does not answer): the runtime makes them off the window's
// thread, so an implementation must allow calls from several threads at once.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // Hands each entry of a folder (without "." and "..") to `each`, in the system's order; a
    // path-not-found error when the folder is missing or cannot be read, also half-way through.
    virtual void ListFolder(const std::string& folder,
                            const std::function<void(const FolderEntry&)>& each) = 0;
    virtual bool FolderExists(const std::string& folder) = 0;
    // The drives' roots ("C:\"), from what the system knows without asking the drives.
    virtual std::vector<std::string> DriveRoots() = 0;
    // A drive's volume label, possibly empty; asks the drive.
    virtual std::string DriveLabel(const std::string& root) = 0;
    // Whether a drive ("C:\") holds a readable medium.
    virtual bool DriveReady(const std::string& root) = 0;
};

}  // namespace kivo::forms
