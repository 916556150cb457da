#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>

#include "forms_runtime/background.h"
#include "forms_runtime/basics/conversions.h"
#include "forms_runtime/basics/msg_box_style.h"
#include "forms_runtime/basics/picture.h"
#include "forms_runtime/basics/screen_metrics.h"
#include "forms_runtime/controls/file_system.h"
#include "forms_runtime/form_peer.h"

namespace kivo::forms {

class Application;
class Form;

// Everything platform-specific that the runtime needs. Implemented over Win32, and headless for
// the tests.
class Backend {
  public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<FormPeer> CreatePeer(Form& form) = 0;
    virtual ScreenMetrics Screen() = 0;
    virtual NumberFormat UserNumberFormat() = 0;
    virtual FileSystem& Files() = 0;
    virtual Picture LoadResourcePicture(const std::string& name) = 0;
    // Work off the window's thread.
    virtual Background& Later() = 0;
    // Decodes a picture file off the window's thread, then calls `arrive` from the message loop
    // with the picture or the error the load raised (a missing or unreadable file, or one that is
    // no picture). A newer request makes the decoder give up an
    // older one that it is still busy with, after a short grace.
    virtual void LoadPictureLater(const std::string& path, const DecodeHint& hint,
                                  std::function<void(Picture, std::exception_ptr)> arrive) = 0;
    // While `resting`, the displays are off and no picture is wanted until they come back on: the
    // backend may let go of what it keeps ready for decoding, and take it again at the next load.
    virtual void RestPictures(bool resting) = 0;
    virtual int MsgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) = 0;
    // The folder of the running executable, without a trailing separator except at a drive root.
    virtual std::string ExecutableFolder() = 0;
    // The command-line text after the program name.
    virtual std::string CommandLine() = 0;
    virtual std::uint32_t ClockSeed() = 0;
    // Delivers events until no form is loaded.
    virtual void RunMessageLoop(Application& app) = 0;
    // Ends the process at once, after asking the system to give up the file-system calls that
    // work off the window's thread still waits in: no further event runs. Returns only in
    // backends that cannot end the process (the headless one), where the runtime then unwinds
    // the current handler.
    virtual void EndProgram() = 0;
};

}  // namespace kivo::forms
