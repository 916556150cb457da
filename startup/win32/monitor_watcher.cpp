#include "startup/win32/monitor_watcher.h"

#include "forms_runtime/win32/program_messages.h"

namespace kivo::startup {

namespace {

constexpr wchar_t kWatcherClass[] = L"KivoMonitorWatcher";
// kMonitorsChanged is posted to the watcher so that one change, however many notices it brings,
// is handled once, and never from inside a window that the handling may destroy.
using forms::win32::kMonitorsChanged;

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

MonitorWatcher* Self(HWND window) {
    return reinterpret_cast<MonitorWatcher*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

}  // namespace

MonitorWatcher::~MonitorWatcher() {
    if (watcher_ != nullptr) {
        SetWindowLongPtrW(watcher_, GWLP_USERDATA, 0);
        DestroyWindow(watcher_);
    }
}

void MonitorWatcher::Watch(HWND owner, std::function<void()> changed) {
    changed_ = std::move(changed);
    if (watcher_ != nullptr && GetWindow(watcher_, GW_OWNER) != owner) {
        DestroyWindow(watcher_);
    }
    if (watcher_ != nullptr) {
        return;
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
}

void MonitorWatcher::NoticeChange() {
    if (watcher_ != nullptr && !change_pending_) {
        change_pending_ = PostMessageW(watcher_, kMonitorsChanged, 0, 0) != FALSE;
    }
}

LRESULT CALLBACK MonitorWatcher::WatcherProcedure(HWND window, UINT message, WPARAM wparam,
                                                  LPARAM lparam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    MonitorWatcher* self = Self(window);
    switch (message) {
        case WM_DISPLAYCHANGE:
        case WM_DPICHANGED:
            if (self != nullptr) {
                self->NoticeChange();
            }
            return 0;
        case kMonitorsChanged:
            if (self != nullptr) {
                self->change_pending_ = false;
                if (self->changed_) {
                    const std::function<void()> changed = self->changed_;
                    changed();
                }
            }
            return 0;
        case WM_NCDESTROY:
            if (self != nullptr) {
                self->watcher_ = nullptr;
                self->changed_ = nullptr;
                self->change_pending_ = false;
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace kivo::startup
