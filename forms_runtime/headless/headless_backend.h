#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "forms_runtime/application.h"
#include "forms_runtime/backend.h"
#include "forms_runtime/controls/controls.h"
#include "forms_runtime/headless/held_background.h"
#include "forms_runtime/headless/memory_file_system.h"
#include "forms_runtime/headless/message_box_call.h"

namespace kivo::forms::headless {

// A backend without a screen: forms keep their state, the test plays the user and the clock.
// Files live in an in-memory file system; BMP, PNG and GIF files in it load as pictures of their
// header's size. Work meant for off the window's thread (folder readings, pictures loaded later)
// runs at once and arrives after the event that asked for it, as on Windows, unless the test holds
// it (background()): then it waits until the test releases it.
class HeadlessBackend : public Backend {
  public:
    HeadlessBackend();

    // Test setup.
    MemoryFileSystem& files() { return files_; }
    void SetScreen(const ScreenMetrics& screen) { screen_ = screen; }
    void SetNumberFormat(const NumberFormat& format) { number_format_ = format; }
    void SetCommandLine(std::string text) { command_line_ = std::move(text); }

    // What happened.
    const std::vector<MessageBoxCall>& message_boxes() const { return message_boxes_; }
    bool program_ended() const { return program_ended_; }
    int pictures_loaded() const { return pictures_loaded_; }
    std::vector<std::string> loaded_picture_paths() const { return loaded_picture_paths_; }
    // The hint of the latest picture loaded from a file.
    const DecodeHint& last_decode_hint() const { return last_decode_hint_; }

    // Whether the runtime has let the pictures rest (the displays are off).
    bool pictures_resting() const { return pictures_resting_; }

    // The file system's pace and the clock.
    HeldBackground& background() { return background_; }
    // Called when the program ends the process, after what it lets go of.
    std::function<void()> on_end_program;

    // The user and the clock. Each runs as one event of the application.
    void Tick(Application& app, Timer& timer);
    void KeyDown(Application& app, Form& form, int key_code, int shift = 0);
    void MouseMove(Application& app, Control& control, float x, float y, int button = 0);
    void MouseDown(Application& app, Control& control, float x, float y, int button = 1);
    void Click(Application& app, Control& control);
    void Close(Application& app, Form& form);  // the close box
    void SelectFile(Application& app, FileList& list, int position);
    void OpenFolder(Application& app, DirList& list, const std::string& folder);
    void PickDrive(Application& app, DriveList& list, const std::string& root);
    void Type(TextBox& box, const std::string& text);
    void SetCheck(CheckBox& box, std::int16_t value);

    // Backend.
    std::unique_ptr<FormPeer> CreatePeer(Form& form) override;
    ScreenMetrics Screen() override { return screen_; }
    NumberFormat UserNumberFormat() override { return number_format_; }
    FileSystem& Files() override { return files_; }
    Picture LoadResourcePicture(const std::string& name) override;
    Background& Later() override { return background_; }
    void LoadPictureLater(const std::string& path, const DecodeHint& hint,
                          std::function<void(Picture, std::exception_ptr)> arrive) override;
    void RestPictures(bool resting) override { pictures_resting_ = resting; }
    int MsgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) override;
    std::string ExecutableFolder() override { return executable_folder_; }
    std::string CommandLine() override { return command_line_; }
    std::uint32_t ClockSeed() override { return 12345; }
    // Delivers what work run at once during the start-up procedure brought.
    void RunMessageLoop(Application&) override { background_.DeliverArrived(); }
    void EndProgram() override;

  private:
    Picture Decode(const std::string& path, const DecodeHint& hint);
    // Runs one event of the user's or the clock's, then what arrived meanwhile.
    void Play(Application& app, const std::function<void()>& event);
    static void RunClick(Control& control);

    MemoryFileSystem files_;
    ScreenMetrics screen_{15360, 11520, 15, 15};
    NumberFormat number_format_;
    const std::string executable_folder_ = "C:\\Kivo";
    std::string command_line_;
    const FrameInsets tool_window_insets_{45, 270, 45, 45};
    std::vector<MessageBoxCall> message_boxes_;
    bool program_ended_ = false;
    bool pictures_resting_ = false;
    int pictures_loaded_ = 0;
    std::vector<std::string> loaded_picture_paths_;
    DecodeHint last_decode_hint_;
    std::intptr_t next_handle_ = 0x1000;
    HeldBackground background_;
};

}  // namespace kivo::forms::headless
