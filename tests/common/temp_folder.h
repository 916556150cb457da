// A folder of the test's own under the system's temporary folder, removed with everything in it
// when the object goes. Paths are std::filesystem paths: wide on Windows, so Japanese names work
// on any code page. Errors throw std::filesystem::filesystem_error, except in the destructor,
// which reports on stderr what it could not remove.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kivo::test {

class TempFolder {
  public:
    TempFolder();
    // A folder in `base` instead, its name ending in `suffix`.
    TempFolder(const std::filesystem::path& base, const std::string& suffix);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

    // Writes `bytes` to the file `name`, making the folders it stands in, and returns its path.
    std::filesystem::path Write(const std::filesystem::path& name, std::string_view bytes) const;

  private:
    std::filesystem::path path_;
};

}  // namespace kivo::test
