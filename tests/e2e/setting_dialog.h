// The settings dialog as a user meets it: Kivo.scr /c started from a working folder, its window,
// the windows of its controls found by what they are and show, and its message boxes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <stdexcept>
#include <string>

#include "kivo_test_fixture.h"

namespace kivo::e2e {

// The design of the dialog is in twips; the test display has 15 to the pixel.
inline constexpr int kTwipsPerPixel = 15;

// The frame "フォルダの設定" stands at (0, 660) twips in the dialog's client area.
inline constexpr int kFrameLeftTwips = 0;
inline constexpr int kFrameTopTwips = 660;

// A rectangle of the layout, in pixels from the top left of the dialog's client area.
inline RECT LayoutPixels(int left, int top, int width, int height, bool inFrame = false) {
    const int x = (left + (inFrame ? kFrameLeftTwips : 0)) / kTwipsPerPixel;
    const int y = (top + (inFrame ? kFrameTopTwips : 0)) / kTwipsPerPixel;
    return {x, y, x + width / kTwipsPerPixel, y + height / kTwipsPerPixel};
}

inline std::wstring RectText(const RECT& r) {
    return L"(" + std::to_wstring(r.left) + L", " + std::to_wstring(r.top) + L")-(" +
           std::to_wstring(r.right) + L", " + std::to_wstring(r.bottom) + L")";
}

// The controls of the dialog that are windows of their own.
struct DialogWindows {
    HWND ok = nullptr;
    HWND cancel = nullptr;
    HWND showName = nullptr;  // the check box "ファイル名表示"
    HWND frame = nullptr;     // the group box "フォルダの設定"
    HWND interval = nullptr;  // the seconds between slides
    HWND files = nullptr;
    HWND folders = nullptr;  // draws its own lines
    HWND drives = nullptr;
};

inline DialogWindows FindDialogWindows(HWND dialog) {
    DialogWindows found;
    for (HWND child : ChildWindows(dialog)) {
        const std::wstring kind = WindowClassName(child);
        const std::wstring text = WindowTitle(child);
        const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
        if (_wcsicmp(kind.c_str(), L"Button") == 0) {
            if (text == L"OK") {
                found.ok = child;
            } else if (text == L"キャンセル") {
                found.cancel = child;
            } else if (text == L"ファイル名表示") {
                found.showName = child;
            } else if (text == L"フォルダの設定") {
                found.frame = child;
            }
        } else if (_wcsicmp(kind.c_str(), L"Edit") == 0 &&
                   GetAncestor(child, GA_PARENT) == dialog) {
            found.interval = child;
        } else if (_wcsicmp(kind.c_str(), L"ListBox") == 0) {
            (((style & LBS_OWNERDRAWFIXED) != 0) ? found.folders : found.files) = child;
        } else if (_wcsicmp(kind.c_str(), L"ComboBox") == 0) {
            found.drives = child;
        }
    }
    return found;
}

// A window's rectangle relative to the top left of `dialog`'s client area.
inline RECT RectInClient(HWND window, HWND dialog) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

inline POINT CentreOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
}

// Moves the pointer and waits until it stays there: a window that has just appeared under the
// pointer reports a moment later where the pointer was, and Wine may put it back there.
inline void PlacePointer(POINT at) {
    for (int attempt = 0; attempt < 10; ++attempt) {
        MoveCursorTo(at.x, at.y);
        const bool moved_back = WaitUntil(
            [at] {
                const POINT now = CursorPosition();
                return now.x != at.x || now.y != at.y;
            },
            50ms);
        if (!moved_back) {
            return;
        }
    }
}

inline void Click(POINT at, int times = 1) {
    PlacePointer(at);
    for (int i = 0; i < times; ++i) {
        PressButton(MouseButton::Left);
        ReleaseButton(MouseButton::Left);
    }
}

inline void ClickOn(HWND window) {
    Click(CentreOf(window));
}

// The window that has the keyboard focus in the thread that owns `window`.
inline HWND FocusOfThreadOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) {
        return nullptr;
    }
    return info.hwndFocus;
}

// The text a control holds, asked of the control itself: an edit box keeps its text to itself,
// where GetWindowTextW from another process does not see it.
inline std::wstring ControlText(HWND control) {
    wchar_t text[512] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(control, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                             SMTO_NORMAL, 3000, &copied)) {
        return {};
    }
    return std::wstring(text, std::min<std::size_t>(copied, std::size(text) - 1));
}

// The text of a message box: its static control that has a text (the icon's has none).
inline std::wstring MessageBoxText(HWND box) {
    for (HWND child : ChildWindows(box)) {
        if (_wcsicmp(WindowClassName(child).c_str(), L"Static") == 0 &&
            !WindowTitle(child).empty()) {
            return WindowTitle(child);
        }
    }
    return {};
}

// The lines of a list box whose lines are texts.
inline std::vector<std::wstring> ListLines(HWND list) {
    std::vector<std::wstring> lines;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::wstring line(static_cast<std::size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
        SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(line.data()));
        line.resize(wcslen(line.c_str()));
        lines.push_back(line);
    }
    return lines;
}

// The screen point in the middle of a list box's line.
inline POINT LineCentre(HWND list, int line) {
    RECT item{};
    if (SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(line),
                     reinterpret_cast<LPARAM>(&item)) == LB_ERR) {
        throw std::runtime_error("the list has no line " + std::to_string(line));
    }
    POINT centre{(item.left + item.right) / 2, (item.top + item.bottom) / 2};
    ClientToScreen(list, &centre);
    return centre;
}

// Replaces the whole text of an edit box as the user would: click, select all, type.
inline ::testing::AssertionResult TypeIntoBox(HWND box, const std::wstring& text) {
    ClickOn(box);
    if (!WaitUntil([box] { return FocusOfThreadOf(box) == box; }, 3s)) {
        return ::testing::AssertionFailure()
               << "the click did not give the box the focus; it is on a "
               << Narrow(WindowClassName(FocusOfThreadOf(box)));
    }
    PressKey(VK_HOME);
    KeyDown(VK_SHIFT);
    PressKey(VK_END);
    KeyUp(VK_SHIFT);
    TypeText(text);
    if (!WaitUntil([box, &text] { return ControlText(box) == text; }, 3s)) {
        return ::testing::AssertionFailure() << "the box reads \"" << Narrow(ControlText(box))
                                             << "\", not \"" << Narrow(text) << "\"";
    }
    return ::testing::AssertionSuccess();
}

class SettingDialogTest : public KivoTest {
  protected:
    // Starts Kivo.scr /c with the pointer at `pointer` and waits for the dialog and its controls.
    ScopedProcess OpenDialog(POINT pointer = {500, 400}) {
        MoveCursorTo(pointer.x, pointer.y);
        ScopedProcess process = folder_.Launch(L"/c");
        dialog_ = WaitForWindow(kSaverWindowTitle, 15s, process.id());
        if (dialog_ == nullptr) {
            throw std::runtime_error("the settings dialog did not appear");
        }
        if (!WaitUntil(
                [this] {
                    windows_ = FindDialogWindows(dialog_);
                    return windows_.ok != nullptr && windows_.drives != nullptr &&
                           IsWindowVisible(windows_.ok);
                },
                5s)) {
            throw std::runtime_error("the dialog's controls did not appear");
        }
        // Keys go to the foreground window: the test types only once the dialog has the keyboard.
        if (!WaitUntil(
                [this] {
                    const HWND focus = FocusOfThreadOf(dialog_);
                    return GetForegroundWindow() == dialog_ && focus != nullptr &&
                           IsChild(dialog_, focus);
                },
                5s)) {
            throw std::runtime_error("the dialog did not get the keyboard");
        }
        PlacePointer({1023, 767});  // out of the way, and no longer where the dialog appeared
        return process;
    }

    // The message box of `process` titled with the application's title, once it shows.
    static HWND WaitForMessageBox(const ScopedProcess& process) {
        return WaitForWindow(kApplicationTitle, 10s, process.id());
    }

    // The three values of the settings, as the registry holds them.
    struct Stored {
        std::optional<std::wstring> interval;
        std::optional<std::wstring> folder;
        std::optional<std::wstring> showName;
    };
    static Stored ReadStored() {
        return {GetRegistryString(kSettingsKey, kIntervalValue),
                GetRegistryString(kSettingsKey, kFolderValue),
                GetRegistryString(kSettingsKey, kFileNameValue)};
    }

    HWND dialog_ = nullptr;
    DialogWindows windows_;
};

}  // namespace kivo::e2e
