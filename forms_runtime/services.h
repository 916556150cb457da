#pragma once

#include <string>

#include "forms_runtime/file_system.h"
#include "forms_runtime/picture.h"
#include "forms_runtime/screen_metrics.h"

namespace kivo::forms {

// Message box styles.
inline constexpr int kOkOnly = 0;
inline constexpr int kCritical = 16;
inline constexpr int kExclamation = 48;

// What controls and forms may ask of the program around them. The application offers these over
// its backend; controls and forms see nothing else of it. Called on the user-interface thread.
class Services {
  public:
    virtual FileSystem& Files() = 0;
    // The primary screen in twips, with the twips per pixel of its DPI.
    virtual ScreenMetrics Screen() const = 0;
    // Shows a modal message box; `title` empty means the application title. Returns the button.
    virtual int MsgBox(const std::string& prompt, int style = kOkOnly,
                       const std::string& title = {}) = 0;
    // The executable's folder, without a trailing separator except at a drive root.
    virtual std::string Path() const = 0;
    // A missing or unreadable file, or one that is no picture, raises the runtime's error.
    virtual Picture LoadPicture(const std::string& path, const DecodeHint& hint) = 0;
    virtual Picture LoadResourcePicture(const std::string& name) = 0;

  protected:
    ~Services() = default;
};

}  // namespace kivo::forms
