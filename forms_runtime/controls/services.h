#pragma once

#include <exception>
#include <functional>
#include <string>

#include "forms_runtime/basics/conversions.h"
#include "forms_runtime/basics/msg_box_style.h"
#include "forms_runtime/basics/picture.h"
#include "forms_runtime/basics/screen_metrics.h"
#include "forms_runtime/controls/file_system.h"

namespace kivo::forms {

// What controls and forms may ask of the program around them. The application offers these over
// its backend; controls and forms see nothing else of it. Called on the user-interface thread.
class Services {
  public:
    virtual FileSystem& Files() = 0;
    // The primary screen in twips, with the twips per pixel of its DPI.
    virtual ScreenMetrics Screen() const = 0;
    // Shows a modal message box; `title` empty means the application title. Returns the button.
    virtual int MsgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) = 0;
    // The same with the application title.
    int MsgBox(const std::string& prompt, MsgBoxStyle style = MsgBoxStyle::kOkOnly) {
        return MsgBox(prompt, style, {});
    }
    // The executable's folder, without a trailing separator except at a drive root.
    virtual std::string Path() const = 0;
    virtual Picture LoadResourcePicture(const std::string& name) = 0;
    // The user's number format, which conversions between text and numbers follow.
    virtual NumberFormat Locale() const = 0;
    // The command line's text after the program name.
    virtual std::string Command() const = 0;

    // Work that may wait (the file system, a decoder) never runs on the window's thread while
    // the user may act. `read` runs elsewhere and must not touch a control; then `arrive` runs on
    // the window's thread as an event of its own, with what `read` threw (null when it returned).
    // An error that `arrive` raises takes the error path. When it arrives is the backend's choice:
    // the Win32 one as soon as its message loop takes it, the headless one when the test lets it.
    virtual void ReadLater(std::function<void()> read,
                           std::function<void(std::exception_ptr)> arrive) = 0;
    // While a form loads, before it can be shown, runs `question` elsewhere and waits for it
    // within a quarter of a second counted from the start of that load: true when it has run to
    // its end. Otherwise false at once; `question` may still run, and what it finds is not used.
    virtual bool AskBriefly(std::function<void()> question) = 0;
    // Decodes a picture file elsewhere, then calls `arrive` on the window's thread, as an event,
    // with the picture, or null when the file could not be loaded as one. A newer request makes
    // the decoder give up one it is still busy with, after a short grace.
    virtual void LoadPictureLater(const std::string& path, const DecodeHint& hint,
                                  std::function<void(Picture)> arrive) = 0;

  protected:
    ~Services() = default;
};

}  // namespace kivo::forms
