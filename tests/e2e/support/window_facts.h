// What a test can observe about a window.
#pragma once

#include <windows.h>

#include <string>

namespace kivo::e2e {

struct WindowFacts {
    std::wstring title;
    std::wstring className;
    RECT rect{};        // window rectangle, screen coordinates
    RECT clientRect{};  // client area, screen coordinates
    SIZE clientSize{};
    LONG_PTR style = 0;
    LONG_PTR exStyle = 0;
    HWND parent = nullptr;  // nullptr for a top-level window
    HWND owner = nullptr;
    DWORD processId = 0;
    bool visible = false;
    bool enabled = false;
    bool topmost = false;
};

WindowFacts DescribeWindow(HWND window);

std::wstring WindowTitle(HWND window);
std::wstring WindowClassName(HWND window);
DWORD ProcessOfWindow(HWND window);
// The client area in screen coordinates.
RECT ClientRectOnScreen(HWND window);
bool IsTopmost(HWND window);

}  // namespace kivo::e2e
