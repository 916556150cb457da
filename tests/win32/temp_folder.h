#pragma once

#include <windows.h>

#include <string>

namespace kivo::test {

// A folder of its own under the system's temporary folder, removed with everything in it.
// Paths are UTF-8; a file that cannot be written throws std::runtime_error.
class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string Join(const std::string& name) const { return path_ + "\\" + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    void MakeFolder(const std::string& name) const;
    void SetAttributes(const std::string& name, DWORD attributes) const;

  private:
    std::string path_;
};

}  // namespace kivo::test
