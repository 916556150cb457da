#include "support/wait.h"

#include "support/window_facts.h"

namespace kivo::e2e {

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

bool Matches(HWND window, const WindowQuery& query) {
    if (query.processId != 0 && ProcessOfWindow(window) != query.processId) {
        return false;
    }
    if (query.visibleOnly && !IsWindowVisible(window)) {
        return false;
    }
    if (query.title && WindowTitle(window) != *query.title) {
        return false;
    }
    if (query.className && WindowClassName(window) != *query.className) {
        return false;
    }
    return true;
}

}  // namespace

void PumpMessages() {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds interval) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        PumpMessages();
        if (condition()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        // Wakes early when a message arrives for this thread.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(interval.count()),
                                  QS_ALLINPUT);
    }
}

std::vector<HWND> ChildWindows(HWND parent) {
    std::vector<HWND> windows;
    EnumChildWindows(parent, CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> WindowsOfProcess(DWORD processId) {
    std::vector<HWND> windows;
    for (HWND top : TopLevelWindows()) {
        if (ProcessOfWindow(top) == processId) {
            windows.push_back(top);
        }
        for (HWND child : ChildWindows(top)) {
            if (ProcessOfWindow(child) == processId) {
                windows.push_back(child);
            }
        }
    }
    return windows;
}

HWND FindMatchingWindow(const WindowQuery& query) {
    for (HWND top : TopLevelWindows()) {
        if (Matches(top, query)) {
            return top;
        }
        if (query.childrenToo) {
            for (HWND child : ChildWindows(top)) {
                if (Matches(child, query)) {
                    return child;
                }
            }
        }
    }
    return nullptr;
}

HWND WaitForWindow(const WindowQuery& query, std::chrono::milliseconds timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindMatchingWindow(query)) != nullptr; }, timeout);
    return found;
}

HWND WaitForWindow(const std::wstring& title, std::chrono::milliseconds timeout, DWORD processId) {
    WindowQuery query;
    query.title = title;
    query.processId = processId;
    return WaitForWindow(query, timeout);
}

bool WaitForNoWindow(const WindowQuery& query, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return FindMatchingWindow(query) == nullptr; }, timeout);
}

}  // namespace kivo::e2e
