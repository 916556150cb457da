#include "startup/win32/system_watcher.h"

#include <cstring>

#include "forms_runtime/win32/program_messages.h"

namespace kivo::startup {

namespace {

constexpr wchar_t kWatcherClass[] = L"KivoSystemWatcher";
// kMonitorsChanged is posted to the watcher so that one change, however many notices it brings,
// is handled once, and never from inside a window that the handling may destroy.
using forms::win32::kMonitorsChanged;

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

SystemWatcher* Self(HWND window) {
    return reinterpret_cast<SystemWatcher*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

SystemWatcher::~SystemWatcher() {
    if (watcher_ != nullptr) {
        SetWindowLongPtrW(watcher_, GWLP_USERDATA, 0);
        DestroyWindow(watcher_);
    }
    Forget();
}

void SystemWatcher::WatchMonitors(HWND owner, std::function<void()> changed) {
    if (Window(owner) != nullptr) {
        monitors_changed_ = std::move(changed);
    }
}

void SystemWatcher::WatchDisplays(HWND owner, std::function<void(bool on)> changed) {
    HWND window = Window(owner);
    if (window == nullptr) {
        return;
    }
    displays_changed_ = std::move(changed);
    if (displays_registration_ == nullptr) {
        // Null where the system refuses: the show then goes on as if the displays stayed on.
        displays_registration_ = RegisterPowerSettingNotification(
            window, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
}

HWND SystemWatcher::Window(HWND owner) {
    if (watcher_ != nullptr && GetWindow(watcher_, GW_OWNER) != owner) {
        DestroyWindow(watcher_);  // its WM_NCDESTROY forgets what it watched
    }
    if (watcher_ != nullptr) {
        return watcher_;
    }
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    if (!GetClassInfoExW(Instance(), kWatcherClass, &window_class)) {
        window_class.lpfnWndProc = WatcherProcedure;
        window_class.hInstance = Instance();
        window_class.lpszClassName = kWatcherClass;
        RegisterClassExW(&window_class);
    }
    // Hidden and top-level, since only top-level windows hear WM_DISPLAYCHANGE.
    watcher_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kWatcherClass, L"", WS_POPUP, 0,
                               0, 0, 0, owner, nullptr, Instance(), this);
    return watcher_;
}

void SystemWatcher::NoticeMonitors() {
    if (watcher_ != nullptr && !monitors_change_pending_) {
        monitors_change_pending_ = PostMessageW(watcher_, kMonitorsChanged, 0, 0) != FALSE;
    }
}

void SystemWatcher::Forget() {
    watcher_ = nullptr;
    monitors_changed_ = nullptr;
    monitors_change_pending_ = false;
    displays_changed_ = nullptr;
    if (displays_registration_ != nullptr) {
        UnregisterPowerSettingNotification(displays_registration_);
        displays_registration_ = nullptr;
    }
}

std::optional<bool> SystemWatcher::ConsoleDisplaysOn(WPARAM event, LPARAM data) {
    if (event != PBT_POWERSETTINGCHANGE || data == 0) {
        return std::nullopt;
    }
    const auto& setting = *reinterpret_cast<const POWERBROADCAST_SETTING*>(data);
    if (!IsEqualGUID(setting.PowerSetting, GUID_CONSOLE_DISPLAY_STATE) ||
        setting.DataLength != sizeof(DWORD)) {
        return std::nullopt;
    }
    DWORD state = 0;
    std::memcpy(&state, setting.Data, sizeof state);
    switch (state) {
        case 0:
            return false;
        case 1:  // on
        case 2:  // dimmed
            return true;
        default:
            return std::nullopt;
    }
}

LRESULT CALLBACK SystemWatcher::WatcherProcedure(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    SystemWatcher* self = Self(window);
    if (self == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    switch (message) {
        case WM_DISPLAYCHANGE:
        case WM_DPICHANGED:
            self->NoticeMonitors();
            return 0;
        case kMonitorsChanged:
            self->monitors_change_pending_ = false;
            if (self->monitors_changed_) {
                const std::function<void()> changed = self->monitors_changed_;
                changed();
            }
            return 0;
        case WM_POWERBROADCAST:
            if (const std::optional<bool> on = ConsoleDisplaysOn(wparam, lparam);
                on && self->displays_changed_) {
                const std::function<void(bool)> changed = self->displays_changed_;
                changed(*on);
            }
            return TRUE;
        case WM_NCDESTROY:
            self->Forget();
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace kivo::startup
