#include "support/host_window.h"

#include <algorithm>

#include "support/errors.h"
#include "support/wait.h"
#include "support/window_facts.h"

namespace kivo::e2e {

namespace {

constexpr wchar_t kClassName[] = L"KivoE2eHostWindow";

void RegisterHostClass(WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    if (!RegisterClassExW(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        ThrowLastError("RegisterClassExW");
    }
}

}  // namespace

HostWindow::HostWindow(const std::wstring& title, int clientWidth, int clientHeight,
                       COLORREF background, POINT position)
    : brush_(CreateSolidBrush(background)) {
    RegisterHostClass(&HostWindow::Procedure);
    constexpr DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, 0);
    window_ = CreateWindowExW(0, kClassName, title.c_str(), style, position.x, position.y,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) {
        DeleteObject(brush_);
        ThrowLastError("CreateWindowExW host window");
    }
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    UpdateWindow(window_);
    // A window manager may resize the frame; the client size is what tests rely on.
    const RECT client = ClientOnScreen();
    if (client.right - client.left != clientWidth || client.bottom - client.top != clientHeight) {
        SetWindowPos(window_, nullptr, 0, 0,
                     frame.right - frame.left + clientWidth - (client.right - client.left),
                     frame.bottom - frame.top + clientHeight - (client.bottom - client.top),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Pump();
}

HostWindow::~HostWindow() {
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    DeleteObject(brush_);
    PumpMessages();
}

RECT HostWindow::ClientOnScreen() const {
    return ClientRectOnScreen(window_);
}

POINT HostWindow::ClientCentreOnScreen() const {
    const RECT client = ClientOnScreen();
    return {(client.left + client.right) / 2, (client.top + client.bottom) / 2};
}

void HostWindow::SetBackground(COLORREF colour) {
    HBRUSH previous = brush_;
    brush_ = CreateSolidBrush(colour);
    DeleteObject(previous);
    InvalidateRect(window_, nullptr, TRUE);
    UpdateWindow(window_);
}

bool HostWindow::ReceivedMessage(UINT message, WPARAM wParam) const {
    return std::any_of(input_.begin(), input_.end(), [&](const Input& input) {
        return input.message == message && input.wParam == wParam;
    });
}

void HostWindow::Pump() const {
    PumpMessages();
}

LRESULT CALLBACK HostWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* host = static_cast<HostWindow*>(create->lpCreateParams);
        host->window_ = window;  // CreateWindowExW has not returned it yet
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
    }
    auto* self = reinterpret_cast<HostWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    return self->Handle(message, wParam, lParam);
}

LRESULT HostWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client;
            GetClientRect(window_, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush_);
            return 1;
        }
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CHAR:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONUP:
            input_.push_back({message, wParam});
            break;
        case WM_NCDESTROY: {
            const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
            window_ = nullptr;
            return result;
        }
        default:
            break;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
}

}  // namespace kivo::e2e
