// A folder of the test's own on the harness's slow mount (harness/slow-folder, mounted by
// `e2e-env up`): listing it takes `listing`, and the first read of each file opened in it takes
// `firstRead`. Looking up names and opening files are never slowed. Files are written through
// the mount's source, at full speed. Removed with everything in it when the object goes.
#pragma once

#include <chrono>
#include <filesystem>
#include <string_view>

#include "tests/common/temp_folder.h"

namespace kivo::e2e {

class SlowFolder {
  public:
    // Throws std::runtime_error, with what the harness logged, when the mount is not there.
    explicit SlowFolder(std::chrono::milliseconds listing,
                        std::chrono::milliseconds firstRead = std::chrono::milliseconds(0));

    // The folder as a Windows program sees it (on Wine's Z: drive), without a final backslash.
    const std::filesystem::path& path() const { return path_; }
    // Writes `bytes` to the file `name` in the folder.
    void Write(const std::filesystem::path& name, std::string_view bytes) const;
    // Whether a first read of the file `name` has begun waiting, as the mount's log tells.
    bool FirstReadBegun(const std::filesystem::path& name) const;

  private:
    test::TempFolder source_;
    std::filesystem::path path_;
};

}  // namespace kivo::e2e
