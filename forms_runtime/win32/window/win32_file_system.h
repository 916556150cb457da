#pragma once

#include "forms_runtime/controls/file_system.h"

namespace kivo::forms::win32 {

// The real file system, through the wide-character API. It keeps no state, so any thread may
// call it. Asking about a drive without a medium never brings up a system dialog.
class Win32FileSystem : public FileSystem {
  public:
    void ListFolder(const std::string& folder,
                    const std::function<void(const FolderEntry&)>& each) override;
    bool FolderExists(const std::string& folder) override;
    std::vector<std::string> DriveRoots() override;
    std::string DriveLabel(const std::string& root) override;
    bool DriveReady(const std::string& root) override;
};

}  // namespace kivo::forms::win32
