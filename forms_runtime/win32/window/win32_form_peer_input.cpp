// A form window's input: keys, the dialog keyboard, the mouse on windowless surfaces, the
// standard controls' notifications and the focus coming back, each turned into the form's events.
#include <windowsx.h>

#include <utility>

#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32 {

namespace {

int ShiftState() {
    return (GetKeyState(VK_SHIFT) < 0 ? 1 : 0) | (GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
           (GetKeyState(VK_MENU) < 0 ? 4 : 0);
}

}  // namespace

bool Win32FormPeer::TranslateDialogKey(MSG& message) {
    if (message.message < WM_KEYFIRST || message.message > WM_KEYLAST) {
        return false;
    }
    const HWND desktop = GetDesktopWindow();
    for (HWND window = message.hwnd; window != nullptr && window != desktop;
         window = GetAncestor(window, GA_PARENT)) {
        if (Win32FormPeer* peer = FromWindow(window)) {
            // Forms without standard controls take every key themselves.
            return peer->controls_ != nullptr && peer->controls_->Any() &&
                   IsDialogMessageW(window, &message) != FALSE;
        }
    }
    return false;
}

// Every branch that raises an event returns straight after it: the event may have released this
// peer.
std::optional<LRESULT> Win32FormPeer::OnInput(HWND window, UINT message, WPARAM wparam,
                                              LPARAM lparam) {
    switch (message) {
        case WM_KEYDOWN:
            OnKey(wparam);
            return 0;
        case WM_SYSKEYDOWN:
            if (OnKey(wparam)) {
                return DefWindowProcW(window, message, wparam, lparam);  // Alt+F4 and the like
            }
            return 0;
        case WM_GETDLGCODE:
            // The form itself has the focus: without a control that could take it, every key is
            // the form's.
            return controls_ != nullptr && controls_->FirstInTabOrder() != nullptr
                       ? 0
                       : DLGC_WANTALLKEYS;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            SurfaceMouse(nullptr, message, wparam, lparam);
            return 0;
        case WM_COMMAND:
            if (controls_ != nullptr) {
                if (LOWORD(wparam) == IDCANCEL) {
                    controls_->PressCancel();  // Esc, from the dialog keyboard
                } else {
                    controls_->Command(LOWORD(wparam), HIWORD(wparam));
                }
            }
            return 0;
        case DM_GETDEFID:
            if (const int id = controls_ != nullptr ? controls_->DefaultButtonId() : 0; id != 0) {
                return MAKELRESULT(id, DC_HASDEFID);
            }
            return 0;
        case WM_ACTIVATE:
            if (controls_ != nullptr && controls_->Any()) {
                OnActivate(LOWORD(wparam) != WA_INACTIVE);
                return 0;
            }
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

bool Win32FormPeer::OnKey(WPARAM key) {
    Form& form = form_;
    const int key_code = static_cast<int>(key);
    const int shift = ShiftState();
    return Raise([&form, key_code, shift] { form.Form_KeyDown(key_code, shift); });
}

void Win32FormPeer::SurfaceMouse(const Control* container, UINT message, WPARAM flags,
                                 LPARAM position) {
    const POINT point{GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    Image* image = layer_.ImageAt(container, point);
    if (message == WM_LBUTTONUP) {
        // A click: the left button went down and up on the same image.
        Image* pressed = std::exchange(pressed_, nullptr);
        if (image != nullptr && image == pressed && image->on_click) {
            Raise([image] { image->on_click(); });
        }
        return;
    }
    if (image == nullptr) {
        return;
    }
    const RECT bounds = layer_.Bounds(*image);
    const float x = scale_.TwipsX(point.x - bounds.left);
    const float y = scale_.TwipsY(point.y - bounds.top);
    const int shift = ((flags & MK_SHIFT) != 0 ? 1 : 0) | ((flags & MK_CONTROL) != 0 ? 2 : 0) |
                      (GetKeyState(VK_MENU) < 0 ? 4 : 0);
    if (message == WM_MOUSEMOVE) {
        // Repeated moves to the same place are delivered too: the handlers tell them apart.
        const int buttons = ((flags & MK_LBUTTON) != 0 ? 1 : 0) |
                            ((flags & MK_RBUTTON) != 0 ? 2 : 0) |
                            ((flags & MK_MBUTTON) != 0 ? 4 : 0);
        if (image->on_mouse_move) {
            Raise([=] { image->on_mouse_move(buttons, shift, x, y); });
        }
        return;
    }
    const int button = message == WM_LBUTTONDOWN ? 1 : message == WM_RBUTTONDOWN ? 2 : 4;
    if (button == 1) {
        pressed_ = image;
    }
    if (image->on_mouse_down) {
        Raise([=] { image->on_mouse_down(button, shift, x, y); });
    }
}

void Win32FormPeer::OnActivate(bool active) {
    // Like a dialog box: the control that had the focus gets it back.
    if (!active) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(window_, focus)) {
            last_focus_ = focus;
        }
        return;
    }
    HWND focus = last_focus_ != nullptr && IsWindow(last_focus_) && IsChild(window_, last_focus_) &&
                         IsWindowVisible(last_focus_) && IsWindowEnabled(last_focus_)
                     ? last_focus_
                     : controls_->FirstInTabOrder();
    SetFocus(focus != nullptr ? focus : window_);
}

}  // namespace kivo::forms::win32
