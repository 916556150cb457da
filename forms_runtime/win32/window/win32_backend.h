#pragma once

#include <memory>
#include <string>

#include "forms_runtime/backend.h"
#include "forms_runtime/win32/picture/com_apartment.h"
#include "forms_runtime/win32/window/win32_file_system.h"

namespace kivo::forms::win32 {

class DecodeThread;
class DecoderClient;
class WicLoader;

// The forms runtime on Windows. Create it on the thread that runs the user interface.
class Win32Backend : public Backend {
  public:
    Win32Backend();
    ~Win32Backend() override;

    std::unique_ptr<FormPeer> CreatePeer(Form& form) override;
    ScreenMetrics Screen() override;
    NumberFormat UserNumberFormat() override;
    FileSystem& Files() override { return files_; }
    // Picture files are decoded in a helper process running `program` (Kivo.scr itself, which
    // takes the helper's private argument), from now on; without this, on a thread of this
    // process.
    void DecodeInHelper(const std::wstring& program);
    // The running executable's full path.
    static std::wstring ProgramPath();
    Picture LoadPicture(const std::string& path, const DecodeHint& hint) override;
    Picture LoadResourcePicture(const std::string& name) override;
    int MsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string ExecutableFolder() override;
    std::string CommandLine() override;
    std::uint32_t ClockSeed() override;
    void RunMessageLoop(Application& app) override;
    [[noreturn]] void EndProgram() override;

  private:
    // While a picture decodes on its own thread: input that leaves no form loaded ends the
    // program, instead of letting the decode finish.
    void EndIfNoFormLoaded();

    ComApartment apartment_;                 // before the loader, which holds COM objects
    std::unique_ptr<WicLoader> wic_;         // this thread's: resources, and a load within a load
    std::unique_ptr<DecoderClient> helper_;  // used on the decode thread only
    std::unique_ptr<DecodeThread> decoder_;  // after the client: ended before it
    Win32FileSystem files_;
    Application* app_ = nullptr;  // the application whose forms this backend made
};

}  // namespace kivo::forms::win32
