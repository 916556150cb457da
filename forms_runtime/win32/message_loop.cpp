#include "forms_runtime/win32/message_loop.h"

#include "forms_runtime/win32/form_window.h"

namespace kivo::forms::win32 {

namespace {

int message_boxes_open = 0;

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

}  // namespace kivo::forms::win32
