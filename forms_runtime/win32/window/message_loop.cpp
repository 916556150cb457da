#include "forms_runtime/win32/window/message_loop.h"

#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32 {

void DeliverMessage(MSG& message) {
    if (!Win32FormPeer::TranslateDialogKey(message)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

}  // namespace kivo::forms::win32
