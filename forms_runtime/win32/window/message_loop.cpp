#include "forms_runtime/win32/window/message_loop.h"

#include <utility>
#include <vector>

#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32 {

namespace {

int message_boxes_open = 0;
bool tick_suspended = false;

struct HeldPaint {
    HWND window;
    HRGN region;
};
std::vector<HeldPaint> held_paints;

void PaintHeldWindows() {
    for (const HeldPaint& held : std::exchange(held_paints, {})) {
        if (IsWindow(held.window)) {
            InvalidateRgn(held.window, held.region, FALSE);
        }
        DeleteObject(held.region);
    }
}

// Delivers every message that is waiting, in the order it came. Ticks and paints of the forms
// are held by the forms themselves while a tick is suspended.
void DeliverWaiting(const std::function<void()>& after_message) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));  // for the outer loop
            return;
        }
        DeliverMessage(message);
        after_message();
    }
}

}  // namespace

void DeliverMessage(MSG& message) {
    if (!Win32FormPeer::TranslateDialogKey(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

int ShowMessageBox(HWND owner, const wchar_t* prompt, const wchar_t* title, UINT style) {
    ++message_boxes_open;
    const int answer = MessageBoxW(owner, prompt, title, style);
    --message_boxes_open;
    return answer;
}

bool MessageBoxShowing() {
    return message_boxes_open > 0;
}

void WaitForLoad(HANDLE done, const std::function<void()>& after_message) {
    struct Suspension {
        const bool outer = std::exchange(tick_suspended, true);
        ~Suspension() {
            tick_suspended = outer;
            if (!outer) {
                PaintHeldWindows();
            }
        }
    } suspension;
    for (;;) {
        const DWORD woke =
            MsgWaitForMultipleObjectsEx(1, &done, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woke == WAIT_OBJECT_0) {
            break;
        }
        if (woke != WAIT_OBJECT_0 + 1) {
            WaitForSingleObject(done, INFINITE);
            break;
        }
        DeliverWaiting(after_message);
    }
}

bool TimerEventsHeld() {
    return message_boxes_open > 0 || tick_suspended;
}

bool TickSuspended() {
    return tick_suspended;
}

void HoldPaint(HWND window) {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    if (region != nullptr && GetUpdateRgn(window, region, FALSE) != ERROR) {
        held_paints.push_back({window, region});
    } else if (region != nullptr) {
        DeleteObject(region);
    }
    ValidateRect(window, nullptr);
}

}  // namespace kivo::forms::win32
