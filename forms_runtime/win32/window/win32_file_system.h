#pragma once

#include "forms_runtime/backend.h"

namespace kivo::forms::win32 {

// The real file system, through the wide-character API. Asking about a drive without a medium
// never brings up a system dialog.
class Win32FileSystem : public FileSystem {
  public:
    std::vector<FolderEntry> ListFolder(const std::string& folder) override;
    bool FolderExists(const std::string& folder) override;
    std::vector<DriveInfo> Drives() override;
    bool DriveReady(const std::string& root) override;
};

}  // namespace kivo::forms::win32
