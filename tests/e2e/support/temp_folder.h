// A folder of the test's own under %TEMP%, removed with everything in it when the test ends.
#pragma once

#include <string>

namespace kivo::e2e {

class TempFolder {
  public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::wstring& path() const { return path_; }
    // path() + L"\\" + name.
    std::wstring operator/(const std::wstring& name) const;
    // Creates (and returns) the subfolder `name`, which may have several levels.
    std::wstring MakeFolder(const std::wstring& name) const;

  private:
    std::wstring path_;
};

bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
void CopyFileOrThrow(const std::wstring& from, const std::wstring& to);
// Deletes a folder and everything below it; returns false if something could not be deleted.
bool RemoveFolderTree(const std::wstring& path);

}  // namespace kivo::e2e
