#include "forms_runtime/win32/window/win32_backend.h"

#include <windows.h>

#include <exception>
#include <utility>

#include "forms_runtime/application.h"
#include "forms_runtime/basics/command_line.h"
#include "forms_runtime/basics/errors.h"
#include "forms_runtime/win32/background_threads.h"
#include "forms_runtime/win32/picture/decoder_client.h"
#include "forms_runtime/win32/picture/picture_loads.h"
#include "forms_runtime/win32/picture/resource_bitmap.h"
#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/display.h"
#include "forms_runtime/win32/window/message_loop.h"
#include "forms_runtime/win32/window/threads_background.h"
#include "forms_runtime/win32/window/win32_file_system.h"
#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32 {

namespace {

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

// The platform's styles for a message box's buttons and icon.
UINT MessageBoxFlags(MsgBoxStyle style) {
    switch (style) {
        case MsgBoxStyle::kCritical:
            return MB_OK | MB_ICONERROR;
        case MsgBoxStyle::kExclamation:
            return MB_OK | MB_ICONWARNING;
        case MsgBoxStyle::kOkOnly:
            break;
    }
    return MB_OK;
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

struct Win32Backend::Impl {
    Impl(Decoding decoding, const std::wstring& helper)
        : loads(threads, decoding == Decoding::InHelper
                             ? std::make_unique<DecoderClient>(helper, kShippedTimeLimitMs)
                             : nullptr) {}

    BackgroundThreads threads;
    ThreadsBackground background{threads};
    PictureLoads loads;  // after the threads, which deliver its arrivals
};

Win32Backend::Win32Backend(Decoding decoding, const std::wstring& helper)
    : impl_(std::make_unique<Impl>(decoding, helper)) {}

Win32Backend::~Win32Backend() = default;

std::unique_ptr<FormPeer> Win32Backend::CreatePeer(Form& form) {
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

void Win32Backend::LoadPictureLater(const std::string& path, const DecodeHint& hint,
                                    std::function<void(Picture, std::exception_ptr)> arrive) {
    impl_->loads.LoadLater(path, hint, ScreenScale(), std::move(arrive));
}

void Win32Backend::RestPictures(bool resting) {
    impl_->loads.Rest(resting);
}

Background& Win32Backend::Later() {
    return impl_->background;
}

Picture Win32Backend::LoadResourcePicture(const std::string& name) {
    // Read from the program's own image with GDI, here: there is nothing to wait for.
    return LoadResourceBitmap(name, ScreenScale());
}

int Win32Backend::MsgBox(const std::string& prompt, MsgBoxStyle style, const std::string& title) {
    HWND owner = MessageBoxOwner();
    UINT flags = MessageBoxFlags(style) | MB_SETFOREGROUND;
    if (owner == nullptr) {
        flags |= MB_TASKMODAL;  // no form to hold it: it still stops input to the program
    }
    return MessageBoxW(owner, Widen(prompt).c_str(), Widen(title).c_str(), flags);
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

bool Win32Backend::Busy() {
    return impl_->threads.Busy();
}

void Win32Backend::EndProgram() {
    // A listing that waits on a share holds its thread, and the process with it, until the
    // system gives the call up: ask for that now, and end the decoder helper meanwhile.
    impl_->threads.CancelWaits();
    impl_->loads.EndHelperNow();
    if (Busy()) {
        // A decode or a reading is under way on its own thread: ending the process the usual way
        // would run the libraries' detach code, which may wait on a lock that thread holds.
        TerminateProcess(GetCurrentProcess(), 0);
    }
    ExitProcess(0);
}

}  // namespace kivo::forms::win32
