#include "support/window_facts.h"

#include "support/errors.h"

namespace kivo::e2e {

std::wstring WindowTitle(HWND window) {
    const int length = GetWindowTextLengthW(window);
    std::wstring title(static_cast<size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(window, title.data(), length + 1);
    title.resize(static_cast<size_t>(copied));
    return title;
}

std::wstring WindowClassName(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, static_cast<size_t>(length));
}

DWORD ProcessOfWindow(HWND window) {
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

RECT ClientRectOnScreen(HWND window) {
    RECT client{};
    if (!GetClientRect(window, &client)) {
        ThrowLastError("GetClientRect");
    }
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

bool IsTopmost(HWND window) {
    return (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

WindowFacts DescribeWindow(HWND window) {
    if (!IsWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        ThrowLastError("DescribeWindow");
    }
    WindowFacts facts;
    facts.title = WindowTitle(window);
    facts.className = WindowClassName(window);
    GetWindowRect(window, &facts.rect);
    facts.clientRect = ClientRectOnScreen(window);
    facts.clientSize = {facts.clientRect.right - facts.clientRect.left,
                        facts.clientRect.bottom - facts.clientRect.top};
    facts.style = GetWindowLongPtrW(window, GWL_STYLE);
    facts.exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    HWND parent = GetAncestor(window, GA_PARENT);
    facts.parent = parent == GetDesktopWindow() ? nullptr : parent;
    facts.owner = GetWindow(window, GW_OWNER);
    facts.processId = ProcessOfWindow(window);
    facts.visible = IsWindowVisible(window) != FALSE;
    facts.enabled = IsWindowEnabled(window) != FALSE;
    facts.topmost = (facts.exStyle & WS_EX_TOPMOST) != 0;
    return facts;
}

}  // namespace kivo::e2e
