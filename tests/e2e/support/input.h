// Input as a user gives it: keys and mouse through SendInput, the pointer through SetCursorPos.
// Keys go to the foreground window, as they would for a user.
#pragma once

#include <windows.h>

#include <string_view>

namespace kivo::e2e {

enum class MouseButton { Left, Right, Middle };

void KeyDown(WORD virtualKey);
void KeyUp(WORD virtualKey);
void PressKey(WORD virtualKey);
// Types each character as a Unicode key press.
void TypeText(std::wstring_view text);

POINT CursorPosition();
void MoveCursorTo(int x, int y);
// A relative move as a real mouse reports it (the pointer may be clipped at the screen edge).
void MoveMouseBy(int dx, int dy);
void PressButton(MouseButton button);
void ReleaseButton(MouseButton button);
void ClickAt(int x, int y, MouseButton button = MouseButton::Left);

// Makes `window` the foreground window and waits until it is; false if it did not become it.
bool BringToForeground(HWND window);

}  // namespace kivo::e2e
