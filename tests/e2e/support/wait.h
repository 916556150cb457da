// Waiting by polling with a deadline. Every wait pumps the calling thread's messages, so that the
// test's own windows (a preview's host) keep answering while it waits.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

namespace kivo::e2e {

using namespace std::chrono_literals;

// Polls `condition` every few milliseconds until it holds (true) or `timeout` has passed (false).
inline bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);  // or a message comes
    }
}

// Waits for the visible top-level window titled `title` of the process `processId`; nullptr
// when none comes in fifteen seconds.
inline HWND WaitForWindowOf(DWORD processId, const std::wstring& title) {
    HWND window = nullptr;
    const auto found = [&] {
        while ((window = FindWindowExW(nullptr, window, nullptr, title.c_str())) != nullptr) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId && IsWindowVisible(window)) {
                return true;
            }
        }
        return false;
    };
    WaitUntil(found, 15s);
    return window;
}

}  // namespace kivo::e2e
