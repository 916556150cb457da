#include "support/input.h"

#include "support/errors.h"
#include "support/wait.h"

namespace kivo::e2e {

namespace {

void Send(INPUT* inputs, UINT count) {
    if (SendInput(count, inputs, sizeof(INPUT)) != count) {
        ThrowLastError("SendInput");
    }
}

void SendKey(WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    Send(&input, 1);
}

void SendMouse(DWORD flags, LONG dx = 0, LONG dy = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = dx;
    input.mi.dy = dy;
    input.mi.dwFlags = flags;
    Send(&input, 1);
}

DWORD DownFlag(MouseButton button) {
    switch (button) {
        case MouseButton::Right:
            return MOUSEEVENTF_RIGHTDOWN;
        case MouseButton::Middle:
            return MOUSEEVENTF_MIDDLEDOWN;
        case MouseButton::Left:
            break;
    }
    return MOUSEEVENTF_LEFTDOWN;
}

DWORD UpFlag(MouseButton button) {
    switch (button) {
        case MouseButton::Right:
            return MOUSEEVENTF_RIGHTUP;
        case MouseButton::Middle:
            return MOUSEEVENTF_MIDDLEUP;
        case MouseButton::Left:
            break;
    }
    return MOUSEEVENTF_LEFTUP;
}

}  // namespace

void KeyDown(WORD virtualKey) {
    SendKey(virtualKey, 0);
}

void KeyUp(WORD virtualKey) {
    SendKey(virtualKey, KEYEVENTF_KEYUP);
}

void PressKey(WORD virtualKey) {
    KeyDown(virtualKey);
    KeyUp(virtualKey);
}

void TypeText(std::wstring_view text) {
    for (wchar_t c : text) {
        INPUT inputs[2]{};
        inputs[0].type = INPUT_KEYBOARD;
        inputs[0].ki.wScan = c;
        inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
        inputs[1] = inputs[0];
        inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        Send(inputs, 2);
    }
}

POINT CursorPosition() {
    POINT point{};
    if (!GetCursorPos(&point)) {
        ThrowLastError("GetCursorPos");
    }
    return point;
}

void MoveCursorTo(int x, int y) {
    if (!SetCursorPos(x, y)) {
        ThrowLastError("SetCursorPos");
    }
}

void MoveMouseBy(int dx, int dy) {
    SendMouse(MOUSEEVENTF_MOVE, dx, dy);
}

void PressButton(MouseButton button) {
    SendMouse(DownFlag(button));
}

void ReleaseButton(MouseButton button) {
    SendMouse(UpFlag(button));
}

void ClickAt(int x, int y, MouseButton button) {
    MoveCursorTo(x, y);
    PressButton(button);
    ReleaseButton(button);
}

bool BringToForeground(HWND window) {
    SetForegroundWindow(window);
    return WaitUntil([window] { return GetForegroundWindow() == window; }, 3s);
}

}  // namespace kivo::e2e
