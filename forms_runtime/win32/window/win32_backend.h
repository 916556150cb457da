#pragma once

#include <memory>
#include <string>

#include "forms_runtime/backend.h"

namespace kivo::forms::win32 {

// Where the backend decodes picture files: in a helper process running this executable (what
// the program does), or on threads of this process (for tests and benchmarks that ask for it).
enum class Decoding { InHelper, InThisProcess };

// The forms runtime on Windows. Create it on the thread that runs the user interface.
class Win32Backend : public Backend {
  public:
    // `helper`: the program the helper runs, started with the helper's private argument.
    explicit Win32Backend(Decoding decoding = Decoding::InHelper,
                          const std::wstring& helper = ProgramPath());
    ~Win32Backend() override;

    std::unique_ptr<FormPeer> CreatePeer(Form& form) override;
    ScreenMetrics Screen() override;
    NumberFormat UserNumberFormat() override;
    FileSystem& Files() override;
    // The running executable's full path.
    static std::wstring ProgramPath();
    Picture LoadResourcePicture(const std::string& name) override;
    Background& Later() override;
    void LoadPictureLater(const std::string& path, const DecodeHint& hint,
                          std::function<void(Picture, std::exception_ptr)> arrive) override;
    // Resting, the decoder helper is ended (after the load under way, if one is).
    void RestPictures(bool resting) override;
    int MsgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) override;
    std::string ExecutableFolder() override;
    std::string CommandLine() override;
    std::uint32_t ClockSeed() override;
    void RunMessageLoop(Application& app) override;
    [[noreturn]] void EndProgram() override;
    // Whether a load or a reading is under way on another thread.
    bool Busy();

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kivo::forms::win32
