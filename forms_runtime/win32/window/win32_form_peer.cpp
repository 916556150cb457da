#include "forms_runtime/win32/window/win32_form_peer.h"

#include <utility>

#include "forms_runtime/basics/errors.h"
#include "forms_runtime/win32/program_messages.h"
#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/display.h"
#include "forms_runtime/win32/window/message_loop.h"

namespace kivo::forms::win32 {

namespace {

HICON ApplicationIcon(int width_metric, int height_metric) {
    return static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kApplicationIconId), IMAGE_ICON,
                   GetSystemMetrics(width_metric), GetSystemMetrics(height_metric), LR_SHARED));
}

ATOM RegisterFormClass(WNDPROC procedure, const wchar_t* name, bool with_icon) {
    WNDCLASSEXW form_class = {};
    form_class.cbSize = sizeof(form_class);
    form_class.lpfnWndProc = procedure;
    form_class.hInstance = GetModuleHandleW(nullptr);
    form_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (with_icon) {
        form_class.hIcon = ApplicationIcon(SM_CXICON, SM_CYICON);
        form_class.hIconSm = ApplicationIcon(SM_CXSMICON, SM_CYSMICON);
    }
    form_class.lpszClassName = name;
    return RegisterClassExW(&form_class);
}

// The forms' window classes, each registered when first needed (window's thread): one whose
// windows show the executable's icon, which the system takes from the class as it creates each
// window, and one without. (An icon set on a window afterwards costs more: under Wine each one is
// converted and sent to the display server again.)
struct FormClasses {
    ATOM plain = 0;
    ATOM with_icon = 0;
};

FormClasses& Classes() {
    static FormClasses classes;
    return classes;
}

ATOM FormClass(WNDPROC procedure, bool with_icon) {
    ATOM& atom = with_icon ? Classes().with_icon : Classes().plain;
    if (atom == 0) {
        atom = RegisterFormClass(procedure, with_icon ? L"KivoIconForm" : L"KivoForm", with_icon);
    }
    return atom;
}

bool IsFormClass(ATOM atom) {
    return atom != 0 && (atom == Classes().plain || atom == Classes().with_icon);
}

}  // namespace

Win32FormPeer::Win32FormPeer(Form& form)
    : form_(form), app_(form.app()), scale_(ScreenScale()), layer_(form, scale_), timers_(form) {
    CreateFormWindow();
    controls_ = std::make_unique<StandardControls>(*this);
}

Win32FormPeer::~Win32FormPeer() {
    controls_.reset();
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        if (!destroying_) {
            destroying_ = true;
            DestroyWindow(window_);
        }
    }
}

void Win32FormPeer::CreateFormWindow() {
    const FormSpec& layout = form_.layout();
    if (layout.border == BorderStyle::None) {
        style_ = WS_POPUP | WS_CLIPCHILDREN;
        ex_style_ = 0;
    } else {
        style_ = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
        ex_style_ = WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME;
    }
    RECT outer{0, 0, scale_.X(layout.client_width), scale_.Y(layout.client_height)};
    AdjustWindowRectEx(&outer, style_, FALSE, ex_style_);
    CreateWindowExW(ex_style_, MAKEINTATOM(FormClass(WindowProc, layout.has_icon)),
                    Widen(form_.Caption.get()).c_str(), style_, 0, 0, outer.right - outer.left,
                    outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ == nullptr) {
        throw RuntimeError(ErrorKind::InvalidArgument, std::string(layout.name));
    }
}

Win32FormPeer* Win32FormPeer::FromWindow(HWND window) {
    DWORD process = 0;
    if (window == nullptr || GetWindowThreadProcessId(window, &process) == 0 ||
        process != GetCurrentProcessId() ||
        !IsFormClass(static_cast<ATOM>(GetClassLongPtrW(window, GCW_ATOM)))) {
        return nullptr;  // not a form window of this program (a host's, for one)
    }
    return reinterpret_cast<Win32FormPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK Win32FormPeer::WindowProc(HWND window, UINT message, WPARAM wparam,
                                           LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* peer =
            static_cast<Win32FormPeer*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
        peer->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(peer));
    }
    auto* peer = reinterpret_cast<Win32FormPeer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (peer == nullptr) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    return peer->OnMessage(window, message, wparam, lparam);
}

bool Win32FormPeer::Raise(const std::function<void()>& handler) {
    const LaterSlot::Ticket alive = life_.Current();
    app_.RaiseEvent(handler);
    return alive.wanted() && window_ != nullptr && !destroying_;
}

// Each kind of message has a handler of its own; what none of them answers, the system does.
LRESULT Win32FormPeer::OnMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    std::optional<LRESULT> answer = OnInput(window, message, wparam, lparam);
    if (!answer) {
        answer = OnPainting(window, message, wparam, lparam);
    }
    if (!answer) {
        answer = OnWindow(message, wparam, lparam);
    }
    return answer ? *answer : DefWindowProcW(window, message, wparam, lparam);
}

std::optional<LRESULT> Win32FormPeer::OnWindow(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CLOSE: {
            Application& app = app_;
            Form& form = form_;
            Raise([&app, &form] { app.Unload(form); });
            return 0;  // the event may have released this peer
        }
        case WM_DESTROY:
            OnDestroy();
            return 0;
        case WM_NCDESTROY:
            window_ = nullptr;
            destroying_ = true;
            return std::nullopt;
        case WM_TIMER:
            if (Timer* timer = timers_.Find(wparam)) {
                app_.RaiseTimer(*timer);
            }
            return 0;
        case WM_WINDOWPOSCHANGED:
            OnMoved(*reinterpret_cast<const WINDOWPOS*>(lparam));
            return std::nullopt;
        case kFillMoreFiles:
            if (controls_ != nullptr) {
                controls_->FillMore(static_cast<int>(wparam));
            }
            return 0;
        default:
            return std::nullopt;
    }
}

void Win32FormPeer::OnDestroy() {
    timers_.StopAll(window_);
    if (destroying_) {
        return;
    }
    // Destroyed from outside, as a host ends the preview it holds: the form unloads.
    destroying_ = true;
    Application& app = app_;
    Form& form = form_;
    app.RaiseEvent([&app, &form] { app.Unload(form); });
}

void Win32FormPeer::OnMoved(const WINDOWPOS& position) {
    // The user moved the window, or a host resized it: the form's properties follow, quietly.
    if (moving_ || IsIconic(window_)) {
        return;
    }
    if ((position.flags & SWP_NOMOVE) == 0) {
        form_.Left.store(scale_.TwipsX(position.x));
        form_.Top.store(scale_.TwipsY(position.y));
    }
    if ((position.flags & SWP_NOSIZE) == 0) {
        form_.Width.store(scale_.TwipsX(position.cx));
        form_.Height.store(scale_.TwipsY(position.cy));
    }
}

FrameInsets Win32FormPeer::Insets() const {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRectEx(&frame, style_, FALSE, ex_style_);
    return {scale_.TwipsX(-frame.left), scale_.TwipsY(-frame.top), scale_.TwipsX(frame.right),
            scale_.TwipsY(frame.bottom)};
}

void Win32FormPeer::FormChanged(FormProperty what) {
    if (window_ == nullptr) {
        return;
    }
    switch (what) {
        case FormProperty::Geometry:
            moving_ = true;
            SetWindowPos(window_, nullptr, scale_.X(form_.Left), scale_.Y(form_.Top),
                         scale_.X(form_.Width), scale_.Y(form_.Height),
                         SWP_NOZORDER | SWP_NOACTIVATE);
            moving_ = false;
            break;
        case FormProperty::Caption:
            SetWindowTextW(window_, Widen(form_.Caption.get()).c_str());
            break;
        case FormProperty::WindowState:
            if (shown_) {
                const int state = form_.WindowState;
                ShowWindow(window_, state == 2   ? SW_MAXIMIZE
                                    : state == 1 ? SW_MINIMIZE
                                                 : SW_RESTORE);
            }
            break;
    }
}

void Win32FormPeer::ControlChanged(Control& control, ControlProperty what) {
    if (window_ == nullptr) {
        return;
    }
    if (control.kind() == ControlKind::Timer) {
        timers_.Update(window_, static_cast<Timer&>(control));
    } else if (control.windowed()) {
        controls_->Mirror(control, what);
    } else {
        layer_.Invalidate(SurfaceOf(control.container()), control);
    }
}

void Win32FormPeer::Show(bool modal) {
    if (window_ == nullptr) {
        return;
    }
    if (!shown_) {
        shown_ = true;
        const int state = form_.WindowState;
        ShowWindow(window_, state == 2   ? SW_SHOWMAXIMIZED
                            : state == 1 ? SW_SHOWMINIMIZED
                                         : SW_SHOW);
        if ((GetWindowLongPtrW(window_, GWL_STYLE) & WS_CHILD) == 0) {
            SetForegroundWindow(window_);  // the keyboard comes to a new window of the program
        }
        if (controls_->Any()) {
            last_focus_ = controls_->FirstInTabOrder();
            SetFocus(last_focus_ != nullptr ? last_focus_ : window_);
        }
    } else {
        ShowWindow(window_, SW_SHOW);
    }
    if (modal) {
        RunModal();
    }
}

void Win32FormPeer::RunModal() {
    const LaterSlot::Ticket alive = life_.Current();
    Application& app = app_;
    MSG message;
    while (alive.wanted() && window_ != nullptr && !app.ended()) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the outer loop
            return;
        }
        if (got < 0) {
            return;
        }
        DeliverMessage(message);
    }
}

void Win32FormPeer::Destroy() {
    if (window_ == nullptr || destroying_) {
        return;
    }
    destroying_ = true;
    timers_.StopAll(window_);
    DestroyWindow(window_);
}

void Win32FormPeer::Loaded() {
    timers_.Start(window_);
}

HWND Win32FormPeer::SurfaceOf(const Control* container) const {
    if (container == nullptr) {
        return window_;
    }
    return controls_ != nullptr ? controls_->WindowOf(*container) : nullptr;
}

Control* Win32FormPeer::ControlOfWindow(HWND window) const {
    return controls_ != nullptr ? controls_->ControlAt(window) : nullptr;
}

}  // namespace kivo::forms::win32
