#include "forms_runtime/win32/window/win32_backend.h"

#include <utility>

#include "forms_runtime/application.h"
#include "forms_runtime/basics/command_line.h"
#include "forms_runtime/basics/errors.h"
#include "forms_runtime/win32/picture/decode_thread.h"
#include "forms_runtime/win32/picture/decoder_client.h"
#include "forms_runtime/win32/picture/picture_files.h"
#include "forms_runtime/win32/picture/wic_loader.h"
#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/display.h"
#include "forms_runtime/win32/window/message_loop.h"
#include "forms_runtime/win32/window/win32_file_system.h"
#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32 {

namespace {

// How long a newer preview waits for the decoder to finish an older one before that is given up
// (which costs a new helper process).
constexpr DWORD kSupersedeGraceMs = 250;

std::string LocaleText(LCTYPE item, const std::string& fallback) {
    wchar_t text[16] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, text, 16) <= 1) {
        return fallback;
    }
    return Narrow(text);
}

// The window a message box belongs to: the program's active form, when one is.
HWND MessageBoxOwner() {
    HWND active = GetActiveWindow();
    if (active != nullptr && IsWindowVisible(active) &&
        Win32FormPeer::FromWindow(active) != nullptr) {
        return active;
    }
    return nullptr;
}

std::uint32_t Mix(std::uint64_t value) {
    value ^= value >> 33;
    value *= 0xFF51AFD7ED558CCDull;
    value ^= value >> 33;
    value *= 0xC4CEB9FE1A85EC53ull;
    value ^= value >> 33;
    return static_cast<std::uint32_t>(value ^ (value >> 32));
}

}  // namespace

Win32Backend::Win32Backend(Decoding decoding, const std::wstring& helper)
    : wic_(std::make_unique<WicLoader>()), decoder_(std::make_unique<DecodeThread>()) {
    if (decoding == Decoding::InHelper) {
        helper_ = std::make_unique<DecoderClient>(helper, kShippedTimeLimitMs);
    }
}

Win32Backend::~Win32Backend() = default;

std::unique_ptr<FormPeer> Win32Backend::CreatePeer(Form& form) {
    app_ = &form.app();
    return std::make_unique<Win32FormPeer>(form);
}

ScreenMetrics Win32Backend::Screen() {
    return PrimaryScreen();
}

NumberFormat Win32Backend::UserNumberFormat() {
    NumberFormat format;
    format.decimal_separator = LocaleText(LOCALE_SDECIMAL, format.decimal_separator);
    format.thousands_separator = LocaleText(LOCALE_STHOUSAND, format.thousands_separator);
    return format;
}

FileSystem& Win32Backend::Files() {
    // It keeps no state: one for the whole process, which readings still running after the
    // backend's end may go on using.
    static Win32FileSystem files;
    return files;
}

std::function<Picture(WicLoader&, HANDLE)> Win32Backend::DecodeJob(const std::string& path,
                                                                   const DecodeHint& hint) const {
    return [path, hint, scale = ScreenScale(), helper = helper_.get()](WicLoader& wic,
                                                                       HANDLE give_up) {
        return helper != nullptr ? helper->Load(path, hint, scale, give_up)
                                 : LoadPictureFile(wic, path, hint, scale);
    };
}

Picture Win32Backend::LoadPicture(const std::string& path, const DecodeHint& hint) {
    HANDLE done = decoder_->Start(DecodeJob(path, hint));
    if (done == nullptr) {
        // Another load is under way: two never run at once, and none runs on this thread.
        throw RuntimeError(ErrorKind::InvalidPicture, path);
    }
    WaitForLoad(done, [this] { EndIfNoFormLoaded(); });
    const struct NextStarts {
        Win32Backend& backend;
        ~NextStarts() {
            if (backend.next_picture_) {
                backend.StartNextPicture();  // asked for while this load was under way
            }
        }
    } next_starts{*this};
    return decoder_->Result();
}

void Win32Backend::LoadPictureLater(const std::string& path, const DecodeHint& hint,
                                    std::function<void(Picture, std::exception_ptr)> then) {
    next_picture_ = PictureRequest{path, hint, std::move(then)};
    if (!decoder_->busy()) {
        StartNextPicture();
        return;
    }
    if (!decoding_then_) {
        return;  // a tick's load: this one starts after it
    }
    background_.RunLater([] { Sleep(kSupersedeGraceMs); },
                         [this, serial = decoding_serial_] {
                             if (decoding_serial_ == serial && next_picture_) {
                                 decoder_->GiveUp();
                             }
                         });
}

void Win32Backend::StartNextPicture() {
    PictureRequest request = std::move(*next_picture_);
    next_picture_.reset();
    ++decoding_serial_;
    HANDLE started = decoder_->Start(
        DecodeJob(request.path, request.hint),
        [post = background_.poster(), this] { post([this] { PictureDecoded(); }); });
    if (started == nullptr) {
        const auto error =
            std::make_exception_ptr(RuntimeError(ErrorKind::InvalidPicture, request.path));
        background_.Post([then = std::move(request.then), error] { then(nullptr, error); });
        return;
    }
    decoding_then_ = std::move(request.then);
}

void Win32Backend::PictureDecoded() {
    Picture picture;
    std::exception_ptr error;
    try {
        picture = decoder_->Result();
    } catch (...) {
        error = std::current_exception();  // handed to the request
    }
    const auto then = std::exchange(decoding_then_, nullptr);
    if (next_picture_) {
        StartNextPicture();
    }
    if (then) {
        then(std::move(picture), error);
    }
}

void Win32Backend::RunLater(std::function<void()> work, std::function<void()> then) {
    background_.RunLater(std::move(work), std::move(then));
}

bool Win32Backend::RunBriefly(std::function<void()> work, std::chrono::milliseconds within) {
    return background_.RunBriefly(std::move(work), static_cast<DWORD>(within.count()));
}

void Win32Backend::EndIfNoFormLoaded() {
    if (app_ != nullptr && (app_->ended() || !app_->AnyFormLoaded())) {
        app_->End();
    }
}

Picture Win32Backend::LoadResourcePicture(const std::string& name) {
    return LoadPictureResource(*wic_, name, ScreenScale());
}

int Win32Backend::MsgBox(const std::string& prompt, int style, const std::string& title) {
    HWND owner = MessageBoxOwner();
    UINT flags = static_cast<UINT>(style) | MB_SETFOREGROUND;
    if (owner == nullptr) {
        flags |= MB_TASKMODAL;  // no form to hold it: it still stops input to the program
    }
    return ShowMessageBox(owner, Widen(prompt).c_str(), Widen(title).c_str(), flags);
}

std::wstring Win32Backend::ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::string Win32Backend::ExecutableFolder() {
    const std::wstring path = ProgramPath();
    const std::size_t cut = path.find_last_of(L"\\/");
    std::wstring folder = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut);
    if (folder.size() == 2 && folder[1] == L':') {
        folder += L'\\';  // a drive root keeps its separator
    }
    return Narrow(folder);
}

std::string Win32Backend::CommandLine() {
    return Narrow(ArgumentText(GetCommandLineW()));
}

std::uint32_t Win32Backend::ClockSeed() {
    LARGE_INTEGER counter = {};
    QueryPerformanceCounter(&counter);
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t time =
        (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return Mix(static_cast<std::uint64_t>(counter.QuadPart) ^ (time << 7) ^
               (GetTickCount64() * 0x9E3779B97F4A7C15ull));
}

void Win32Backend::RunMessageLoop(Application& app) {
    MSG message;
    while (!app.ended() && app.AnyFormLoaded()) {
        if (GetMessageW(&message, nullptr, 0, 0) <= 0) {
            return;
        }
        DeliverMessage(message);
    }
}

bool Win32Backend::Busy() const {
    return decoder_->busy() || background_.busy();
}

void Win32Backend::EndProgram() {
    if (Busy()) {
        // A decode or a reading is under way on its own thread: ending the process the usual way
        // would run the libraries' detach code, which may wait on a lock that thread holds.
        TerminateProcess(GetCurrentProcess(), 0);
    }
    ExitProcess(0);
}

}  // namespace kivo::forms::win32
