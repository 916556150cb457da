// Input as a user gives it: keys and buttons through SendInput, which go to the foreground window
// and the window under the pointer; the pointer through SetCursorPos.
#pragma once

#include <windows.h>

namespace kivo::e2e {

void PressKey(WORD virtualKey);

// Moves the pointer and waits until it has stayed there a moment: a window that has just
// appeared or gone under the pointer reports a moment later where the pointer was, and Wine may
// put it back there.
void MoveCursorTo(POINT at);
// Presses and releases the left button `times` times where the pointer is.
void ClickButton(int times = 1);

}  // namespace kivo::e2e
