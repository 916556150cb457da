// A working folder for one run of Kivo.scr: a temporary folder holding a copy of Kivo.scr
// and its own sample\ folder, filled with pictures the test makes.
#pragma once

#include <windows.h>

#include <string>

#include "support/process.h"
#include "support/temp_folder.h"

namespace kivo::e2e {

// The Kivo.scr under test: %KIVO_SCR% when set, otherwise the one the build made.
std::wstring KivoScrPath();

class SaverFolder {
  public:
    SaverFolder();

    const std::wstring& path() const { return folder_.path(); }
    std::wstring scr() const { return folder_ / L"Kivo.scr"; }
    std::wstring samples() const { return folder_ / L"sample"; }
    const TempFolder& folder() const { return folder_; }

    // Writes a solid-colour BMP named `name` into sample\ and returns its full path.
    std::wstring AddPicture(const std::wstring& name, int width, int height, COLORREF colour) const;

    // Starts the copy of Kivo.scr with `arguments` (e.g. L"/s", L"/p 1234", L"/c"), in this
    // folder. Declare the process after the folder, so that it ends first.
    ScopedProcess Launch(const std::wstring& arguments) const;

  private:
    TempFolder folder_;
};

}  // namespace kivo::e2e
