#include "startup/win32/win32_system.h"

#include <windows.h>

#include "forms_runtime/win32/wide.h"
#include "startup/win32/system_library.h"

namespace kivo::startup {

namespace {

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
WindowHandle FromHwnd(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

// The lock's name: per session, under the Local namespace.
constexpr wchar_t kSaverLockName[] = L"Local\\Kivo slide show screen saver";

bool Acquired(DWORD wait) {
    return wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;  // abandoned: its holder died
}

using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

struct MonitorList {
    std::vector<Monitor> monitors;
    GetDpiForMonitorFunction dpi_for_monitor = nullptr;
};

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM data) {
    auto& list = *reinterpret_cast<MonitorList*>(data);
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(handle, &info)) {
        return TRUE;
    }
    Monitor monitor;
    monitor.area = {info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right,
                    info.rcMonitor.bottom};
    monitor.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
    UINT dpi_x = 0;
    UINT dpi_y = 0;
    if (list.dpi_for_monitor != nullptr &&
        SUCCEEDED(list.dpi_for_monitor(handle, 0 /* effective */, &dpi_x, &dpi_y)) && dpi_x > 0) {
        monitor.dpi = static_cast<std::int32_t>(dpi_x);
    }
    list.monitors.push_back(monitor);
    return TRUE;
}

using PwdChangePasswordFunction = DWORD(WINAPI*)(LPCSTR, HWND, DWORD, LPVOID);
using VerifyScreenSavePwdFunction = BOOL(WINAPI*)(HWND);

}  // namespace

bool Win32System::TakeSaverLock() {
    if (saver_lock_ != nullptr) {
        return true;
    }
    HANDLE lock = CreateMutexW(nullptr, TRUE, kSaverLockName);
    if (lock == nullptr) {
        return true;  // no lock to be had (the name is another object's): the title probe decides
    }
    if (GetLastError() == ERROR_ALREADY_EXISTS && !Acquired(WaitForSingleObject(lock, 0))) {
        CloseHandle(lock);
        return false;
    }
    saver_lock_ = lock;
    return true;
}

bool Win32System::SaverLockHeld() {
    // Only looks: the lock exists while a saver holds it (its holder keeps it open until LetGo,
    // the system closes it when the holder dies), and for the instant that another look or a
    // refused take has it open. Owning it, even for an instant, would make a saver that starts
    // in that instant find it taken and quit.
    HANDLE lock = OpenMutexW(SYNCHRONIZE, FALSE, kSaverLockName);
    if (lock == nullptr) {
        return false;  // nobody has it open
    }
    CloseHandle(lock);
    return true;
}

void Win32System::LetGo() {
    if (screen_saver_running_) {
        SetScreenSaverRunning(false);
    }
    if (saver_lock_ != nullptr) {
        ReleaseMutex(saver_lock_);
        CloseHandle(saver_lock_);
        saver_lock_ = nullptr;
    }
}

bool Win32System::TopLevelWindowExists(const char* title) {
    return FindWindowW(nullptr, forms::win32::Widen(title).c_str()) != nullptr;
}

std::optional<std::int32_t> Win32System::ReadScreenSaveUsePassword() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\desktop", 0, KEY_QUERY_VALUE, &key) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    BYTE buffer[4] = {0, 0, 0, 0};
    DWORD size = sizeof buffer;
    DWORD type = 0;
    const LSTATUS status =
        RegQueryValueExW(key, L"ScreenSaveUsePassword", nullptr, &type, buffer, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        return std::nullopt;
    }
    const auto value = static_cast<std::uint32_t>(buffer[0]) |
                       (static_cast<std::uint32_t>(buffer[1]) << 8) |
                       (static_cast<std::uint32_t>(buffer[2]) << 16) |
                       (static_cast<std::uint32_t>(buffer[3]) << 24);
    return static_cast<std::int32_t>(value);
}

WindowHandle Win32System::ForegroundWindow() {
    return FromHwnd(GetForegroundWindow());
}

bool Win32System::ChangeScreenSaverPassword(WindowHandle owner) {
    const SystemLibrary library(L"mpr.dll");
    const auto change = library.Find<PwdChangePasswordFunction>("PwdChangePasswordA");
    if (change == nullptr) {
        return false;
    }
    change("SCRSAVE", ToHwnd(owner), 0, nullptr);
    return true;
}

void Win32System::MakeChild(WindowHandle window) {
    const LONG style = GetWindowLongW(ToHwnd(window), GWL_STYLE);
    SetWindowLongW(ToHwnd(window), GWL_STYLE, style | WS_CHILD);
}

void Win32System::SetParent(WindowHandle child, WindowHandle parent) {
    ::SetParent(ToHwnd(child), ToHwnd(parent));
}

std::optional<PixelSize> Win32System::ClientSize(WindowHandle window) {
    RECT rect{};
    if (window == 0 || !IsWindow(ToHwnd(window)) || !GetClientRect(ToHwnd(window), &rect)) {
        return std::nullopt;
    }
    return PixelSize{rect.right - rect.left, rect.bottom - rect.top};
}

void Win32System::MakeTopmost(WindowHandle window) {
    SetWindowPos(ToHwnd(window), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void Win32System::SetScreenSaverRunning(bool running) {
    screen_saver_running_ = running;
    UINT previous = 0;
    SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, running ? TRUE : FALSE, &previous, 0);
}

int Win32System::ShowCursor(bool show) {
    return ::ShowCursor(show ? TRUE : FALSE);
}

std::optional<PixelPoint> Win32System::CursorPosition() {
    POINT point{};
    if (!GetCursorPos(&point)) {
        return std::nullopt;
    }
    return PixelPoint{point.x, point.y};
}

std::optional<std::int32_t> Win32System::VerifyScreenSaverPassword(WindowHandle window) {
    const SystemLibrary library(L"password.cpl");
    const auto verify = library.Find<VerifyScreenSavePwdFunction>("VerifyScreenSavePwd");
    if (verify == nullptr) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(verify(ToHwnd(window)));
}

WindowHandle Win32System::Owner(WindowHandle window) {
    return FromHwnd(GetWindow(ToHwnd(window), GW_OWNER));
}

void Win32System::PostClose(WindowHandle window) {
    PostMessageW(ToHwnd(window), WM_CLOSE, 0, 0);
}

std::vector<Monitor> Win32System::Monitors() {
    const SystemLibrary shcore(L"shcore.dll");
    MonitorList list;
    list.dpi_for_monitor = shcore.Find<GetDpiForMonitorFunction>("GetDpiForMonitor");
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&list));
    return list.monitors;
}

void Win32System::Accompany(WindowHandle window, WindowHandle owner) {
    HWND companion = ToHwnd(window);
    SetWindowLongPtrW(companion, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(ToHwnd(owner)));
    SetWindowLongPtrW(companion, GWL_EXSTYLE,
                      GetWindowLongPtrW(companion, GWL_EXSTYLE) | WS_EX_TOOLWINDOW);
    SetWindowPos(companion, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Win32System::WatchMonitors(WindowHandle owner, std::function<void()> changed) {
    watcher_.WatchMonitors(ToHwnd(owner), std::move(changed));
}

void Win32System::WatchDisplays(WindowHandle owner, std::function<void(bool on)> changed) {
    watcher_.WatchDisplays(ToHwnd(owner), std::move(changed));
}

Win32System::~Win32System() = default;

}  // namespace kivo::startup
