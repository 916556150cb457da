// The settings dialog as a user meets it: Kivo.scr /c started from its working folder, its
// window, and the windows of its controls found by their kind and text.
#pragma once

#include <stdexcept>
#include <string>

#include "kivo_test.h"

namespace kivo::e2e {

class SettingDialogTest : public KivoTest {
  protected:
    // Starts Kivo.scr /c, waits until the dialog has the keyboard and moves the pointer out of
    // the way; throws when the dialog does not come.
    ScopedProcess OpenDialog() {
        MoveCursorTo({500, 400});
        WaitForNoKivoWindow();
        ScopedProcess process = Launch(L"/c");
        dialog_ = WaitForWindowOf(process.id(), kSaverTitle);
        GUITHREADINFO focus{};
        focus.cbSize = sizeof focus;
        const auto hasTheKeyboard = [&] {
            return GetForegroundWindow() == dialog_ &&
                   GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &focus) &&
                   focus.hwndFocus != nullptr;
        };
        if (dialog_ == nullptr || !WaitUntil(hasTheKeyboard, 15s)) {
            throw std::runtime_error("the settings dialog did not come with the keyboard");
        }
        MoveCursorTo({1023, 767});
        return process;
    }

    // The dialog's own control of that window class and text.
    HWND Control(const wchar_t* kind, const wchar_t* text = nullptr) const {
        return FindWindowExW(dialog_, nullptr, kind, text);
    }

    // The list of the folder frame that draws its own lines (the folder list), or the other one.
    HWND FrameList(bool folders) const {
        HWND frame = Control(L"Button", L"フォルダの設定");
        HWND list = FindWindowExW(frame, nullptr, L"ListBox", nullptr);
        const bool drawsItsLines = (GetWindowLongPtrW(list, GWL_STYLE) & LBS_OWNERDRAWFIXED) != 0;
        return drawsItsLines == folders ? list : FindWindowExW(frame, list, L"ListBox", nullptr);
    }

    // Clicks the middle of the list's line `index` `times` times, scrolled into view first.
    static void ClickLine(HWND list, LRESULT index, int times = 1) {
        SendMessageW(list, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
        RECT line{};
        SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&line));
        MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&line), 2);
        MoveCursorTo({(line.left + line.right) / 2, (line.top + line.bottom) / 2});
        ClickButton(times);
    }

    // Double-clicks the folder list's line of the subfolder `name` once a reading of its own has
    // listed it (after the dialog shows); false when it never comes.
    bool OpenSubfolder(const std::wstring& name) const {
        HWND folders = FrameList(true);
        LRESULT line = LB_ERR;
        const auto listed = [&] {
            line = SendMessageW(folders, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                reinterpret_cast<LPARAM>(name.c_str()));
            return line != LB_ERR;
        };
        if (!WaitUntil(listed, 15s)) {
            return false;
        }
        ClickLine(folders, line, 2);
        return true;
    }

    HWND dialog_ = nullptr;
};

}  // namespace kivo::e2e
