#pragma once

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

#include "forms_runtime/backend.h"
#include "forms_runtime/win32/picture/com_apartment.h"
#include "forms_runtime/win32/window/background_work.h"

namespace kivo::forms::win32 {

class DecodeThread;
class DecoderClient;
class WicLoader;

// Where the backend decodes picture files: in a helper process running this executable (what
// the program does), or on a thread of this process (for tests and benchmarks that ask for it).
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
    // Waits for the decode thread, answering every message but ticks and paints meanwhile when
    // it is a tick that loads. Fails as no picture when the decode thread is busy already.
    Picture LoadPicture(const std::string& path, const DecodeHint& hint) override;
    Picture LoadResourcePicture(const std::string& name) override;
    void RunLater(std::function<void()> work, std::function<void()> then) override;
    bool RunBriefly(std::function<void()> work, std::chrono::milliseconds within) override;
    void LoadPictureLater(const std::string& path, const DecodeHint& hint,
                          std::function<void(Picture, std::exception_ptr)> then) override;
    int MsgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string ExecutableFolder() override;
    std::string CommandLine() override;
    std::uint32_t ClockSeed() override;
    void RunMessageLoop(Application& app) override;
    [[noreturn]] void EndProgram() override;
    // Whether a decode or a reading is under way on another thread.
    bool Busy() const;

  private:
    struct PictureRequest {
        std::string path;
        DecodeHint hint;
        std::function<void(Picture, std::exception_ptr)> then;
    };

    // The decode thread's job for a picture file.
    std::function<Picture(WicLoader&, HANDLE)> DecodeJob(const std::string& path,
                                                         const DecodeHint& hint) const;
    void StartNextPicture();
    void PictureDecoded();
    // While a picture decodes on its own thread: input that leaves no form loaded ends the
    // program, instead of letting the decode finish.
    void EndIfNoFormLoaded();

    ComApartment apartment_;                 // before the loader, which holds COM objects
    std::unique_ptr<WicLoader> wic_;         // this thread's: resources only
    std::unique_ptr<DecoderClient> helper_;  // used on the decode thread only
    std::unique_ptr<DecodeThread> decoder_;  // after the client: ended before it
    BackgroundWork background_;
    std::optional<PictureRequest> next_picture_;  // asked for later, not yet started
    // The picture request that the decode thread works on, unless it is a tick's.
    std::function<void(Picture, std::exception_ptr)> decoding_then_;
    unsigned decoding_serial_ = 0;
    Application* app_ = nullptr;  // the application whose forms this backend made
};

}  // namespace kivo::forms::win32
