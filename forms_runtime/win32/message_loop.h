#pragma once

#include <windows.h>

namespace kivo::forms::win32 {

// Delivers one message to its window, through the dialog keyboard of the form that holds it.
void DeliverMessage(MSG& message);

// Shows a message box. While one is open, timer ticks are skipped: an error path's box is never
// followed by another from a timer.
int ShowMessageBox(HWND owner, const wchar_t* prompt, const wchar_t* title, UINT style);
bool MessageBoxShowing();

}  // namespace kivo::forms::win32
