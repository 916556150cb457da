#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms_runtime/controls.h"
#include "forms_runtime/conversions.h"
#include "forms_runtime/picture.h"

// <windows.h> makes MessageBox a macro: the member below keeps its own name whatever was included
// before this header.
#pragma push_macro("MessageBox")
#undef MessageBox

namespace kivo::forms {

class Application;
class Form;

enum class FormProperty { Geometry, Caption, WindowState };

struct ScreenMetrics {
    float width = 0;   // twips
    float height = 0;  // twips
    float twips_per_pixel_x = 15;
    float twips_per_pixel_y = 15;
};

// The size of a window's frame around its client area, in twips.
struct FrameInsets {
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
};

struct TextExtent {
    float width = 0;
    float height = 0;
};

struct FolderEntry {
    std::string name;
    bool is_folder = false;
    bool hidden = false;
    bool system = false;
};

// The file system as the list controls see it. Paths are Windows paths in UTF-8.
class FileSystem {
  public:
    virtual ~FileSystem() = default;
    // The entries of a folder (without "." and ".."); a path-not-found error when it is missing.
    virtual std::vector<FolderEntry> ListFolder(const std::string& folder) = 0;
    virtual bool FolderExists(const std::string& folder) = 0;
    virtual std::vector<DriveInfo> Drives() = 0;
    // Whether a drive ("C:\") holds a readable medium.
    virtual bool DriveReady(const std::string& root) = 0;
};

// A loaded form's presence on screen.
class FormPeer {
  public:
    virtual ~FormPeer() = default;
    virtual std::intptr_t Handle() const = 0;
    virtual FrameInsets Insets() const = 0;
    virtual void FormChanged(FormProperty what) = 0;
    virtual void ControlChanged(Control& control, ControlProperty what) = 0;
    // Shows the window. A modal show returns when the form has been unloaded.
    virtual void Show(bool modal) = 0;
    virtual void Destroy() = 0;
    // Called once Form_Load has returned: timers may run from now on.
    virtual void Loaded() = 0;
    virtual TextExtent MeasureText(const Control& control, const std::string& text) = 0;
};

// Everything platform-specific that the runtime needs. Implemented over Win32, and headless for
// the tests.
class Backend {
  public:
    virtual ~Backend() = default;
    virtual std::unique_ptr<FormPeer> CreatePeer(Form& form) = 0;
    virtual ScreenMetrics Screen() = 0;
    virtual NumberFormat UserNumberFormat() = 0;
    virtual FileSystem& Files() = 0;
    // A missing or unreadable file, or one that is no picture, raises the runtime's error.
    virtual Picture LoadPicture(const std::string& path, const DecodeHint& hint) = 0;
    virtual Picture LoadResourcePicture(const std::string& name) = 0;
    virtual int MessageBox(const std::string& prompt, int style, const std::string& title) = 0;
    // The folder of the running executable, without a trailing separator except at a drive root.
    virtual std::string ExecutableFolder() = 0;
    // The command-line text after the program name.
    virtual std::string CommandLine() = 0;
    virtual std::uint32_t ClockSeed() = 0;
    // Delivers events until no form is loaded.
    virtual void RunMessageLoop(Application& app) = 0;
    // Ends the program at once: no further event runs. Returns only in backends that cannot end
    // the process (the headless one), where the runtime then unwinds the current handler.
    virtual void EndProgram() = 0;
};

}  // namespace kivo::forms

#pragma pop_macro("MessageBox")
