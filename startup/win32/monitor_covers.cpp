#include "startup/win32/monitor_covers.h"

#include <algorithm>

#include "forms_runtime/win32/program_messages.h"

namespace kivo::startup {

namespace {

constexpr wchar_t kCoverClass[] = L"KivoMonitorCover";
constexpr wchar_t kWatcherClass[] = L"KivoMonitorWatcher";
// kMonitorsChanged is posted to the watcher so that one change, however many windows hear of it,
// is handled once, and never from inside a cover that the handling may destroy.
using forms::win32::kMonitorsChanged;

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

void RegisterClassOnce(const wchar_t* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(Instance(), name, &existing)) {
        return;
    }
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = Instance();
    window_class.hbrBackground = background;
    window_class.hCursor = nullptr;  // no pointer over a cover
    window_class.lpszClassName = name;
    RegisterClassExW(&window_class);
}

MonitorCovers* Self(HWND window) {
    return reinterpret_cast<MonitorCovers*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

void Remember(HWND window, LPARAM lparam) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
}

}  // namespace

MonitorCovers::~MonitorCovers() {
    std::vector<HWND> windows = covers_;
    windows.push_back(watcher_);
    for (HWND window : windows) {
        if (window != nullptr) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            DestroyWindow(window);
        }
    }
}

void MonitorCovers::Show(HWND owner, const std::vector<PixelRect>& rects) {
    const bool other_owner = !covers_.empty() && GetWindow(covers_.front(), GW_OWNER) != owner;
    while (!covers_.empty() && (other_owner || covers_.size() > rects.size())) {
        HWND last = covers_.back();
        if (!DestroyWindow(last)) {
            Forget(last);  // its WM_NCDESTROY forgets it otherwise
        }
    }
    for (std::size_t i = 0; i < rects.size(); ++i) {
        const PixelRect& rect = rects[i];
        if (i >= covers_.size()) {
            if (HWND cover = CreateCover(owner, rect)) {
                covers_.push_back(cover);
            }
            continue;
        }
        SetWindowPos(covers_[i], HWND_TOPMOST, rect.left, rect.top, rect.right - rect.left,
                     rect.bottom - rect.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    }
}

HWND MonitorCovers::CreateCover(HWND owner, const PixelRect& rect) {
    RegisterClassOnce(kCoverClass, CoverProcedure,
                      static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // No title, no taskbar button and no entry in the task switcher; never the active window.
    HWND cover = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kCoverClass,
                                 L"", WS_POPUP, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, owner, nullptr, Instance(), this);
    if (cover != nullptr) {
        ShowWindow(cover, SW_SHOWNOACTIVATE);
    }
    return cover;
}

void MonitorCovers::Watch(HWND owner, std::function<void()> changed) {
    changed_ = std::move(changed);
    if (watcher_ != nullptr && GetWindow(watcher_, GW_OWNER) != owner) {
        DestroyWindow(watcher_);
    }
    if (watcher_ == nullptr) {
        RegisterClassOnce(kWatcherClass, WatcherProcedure, nullptr);
        // Hidden and top-level, since only top-level windows hear WM_DISPLAYCHANGE.
        watcher_ = CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kWatcherClass, L"",
                                   WS_POPUP, 0, 0, 0, 0, owner, nullptr, Instance(), this);
    }
}

void MonitorCovers::Forget(HWND window) {
    if (window == watcher_) {
        watcher_ = nullptr;
        changed_ = nullptr;
        change_pending_ = false;
    }
    covers_.erase(std::remove(covers_.begin(), covers_.end(), window), covers_.end());
}

void MonitorCovers::NoticeChange() {
    if (watcher_ != nullptr && !change_pending_) {
        change_pending_ = PostMessageW(watcher_, kMonitorsChanged, 0, 0) != FALSE;
    }
}

LRESULT CALLBACK MonitorCovers::CoverProcedure(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
    switch (message) {
        case WM_NCCREATE:
            Remember(window, lparam);
            break;
        case WM_SETCURSOR:
            SetCursor(nullptr);
            return TRUE;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;  // a click leaves the keyboard with the slide show
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            // Should a cover ever get the keyboard, its keys are the slide show's.
            PostMessageW(GetWindow(window, GW_OWNER), message, wparam, lparam);
            return 0;
        case WM_DISPLAYCHANGE:
        case WM_DPICHANGED:
            if (MonitorCovers* self = Self(window)) {
                self->NoticeChange();
            }
            return 0;  // the place follows the monitor, not the suggested rectangle
        case WM_NCDESTROY:
            if (MonitorCovers* self = Self(window)) {
                self->Forget(window);
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK MonitorCovers::WatcherProcedure(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
    MonitorCovers* self = Self(window);
    switch (message) {
        case WM_NCCREATE:
            Remember(window, lparam);
            break;
        case WM_DISPLAYCHANGE:
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
                self->Forget(window);
            }
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace kivo::startup
