#include "support/input.h"

#include <system_error>

#include "support/wait.h"

namespace kivo::e2e {

namespace {

void Send(INPUT down, INPUT up) {
    INPUT inputs[] = {down, up};
    if (SendInput(2, inputs, sizeof(INPUT)) != 2) {
        throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                                "SendInput");
    }
}

INPUT Key(WORD virtualKey, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

INPUT Button(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

}  // namespace

void PressKey(WORD virtualKey) {
    Send(Key(virtualKey, 0), Key(virtualKey, KEYEVENTF_KEYUP));
}

void MoveCursorTo(POINT at) {
    const auto movedBack = [at] {
        POINT now{};
        GetCursorPos(&now);
        return now.x != at.x || now.y != at.y;
    };
    for (int attempt = 0; attempt < 10; ++attempt) {
        SetCursorPos(at.x, at.y);
        if (!WaitUntil(movedBack, 50ms)) {
            return;
        }
    }
}

void ClickButton(int times) {
    for (int i = 0; i < times; ++i) {
        Send(Button(MOUSEEVENTF_LEFTDOWN), Button(MOUSEEVENTF_LEFTUP));
    }
}

}  // namespace kivo::e2e
