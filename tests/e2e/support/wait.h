// Waiting by polling with a deadline. Every wait pumps the calling thread's messages, so a
// test's own windows (a preview host) keep working while it waits.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kivo::e2e {

using namespace std::chrono_literals;

// Dispatches every message waiting for this thread.
void PumpMessages();

// Polls `condition` every `interval` until it holds (true) or `timeout` has passed (false).
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout,
               std::chrono::milliseconds interval = 5ms);

// Every window, top-level or child, that belongs to the process `processId`.
std::vector<HWND> WindowsOfProcess(DWORD processId);

// The direct and indirect children of `parent`.
std::vector<HWND> ChildWindows(HWND parent);

struct WindowQuery {
    std::optional<std::wstring> title;      // exact title, when given
    std::optional<std::wstring> className;  // exact class name, when given
    DWORD processId = 0;                    // 0: any process
    bool visibleOnly = true;
    bool childrenToo = false;  // look at child windows as well as top-level ones
};

// The first window matching the query now, or nullptr.
HWND FindMatchingWindow(const WindowQuery& query);

// Waits until a window matches the query; nullptr on time-out.
HWND WaitForWindow(const WindowQuery& query, std::chrono::milliseconds timeout);

// Waits for a visible top-level window with this exact title (of `processId` when not 0).
HWND WaitForWindow(const std::wstring& title, std::chrono::milliseconds timeout,
                   DWORD processId = 0);

// Waits until no window matches the query any more.
bool WaitForNoWindow(const WindowQuery& query, std::chrono::milliseconds timeout);

}  // namespace kivo::e2e
