// A plain top-level window of the test process, with a known client size and a solid
// background: the parent for preview tests, and something to look at for the harness.
// Its messages are pumped by every wait (support/wait.h) and by Pump().
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kivo::e2e {

class HostWindow {
  public:
    struct Input {
        UINT message;  // WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN, ...
        WPARAM wParam;
    };

    HostWindow(const std::wstring& title, int clientWidth, int clientHeight, COLORREF background,
               POINT position = {80, 80});
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND hwnd() const { return window_; }
    RECT ClientOnScreen() const;
    POINT ClientCentreOnScreen() const;
    void SetBackground(COLORREF colour);  // repaints
    // Keys and mouse buttons the window has received, oldest first.
    const std::vector<Input>& input() const { return input_; }
    bool ReceivedMessage(UINT message, WPARAM wParam) const;
    // Whether the window has been closed (WM_CLOSE destroys it) or destroyed from outside.
    bool closed() const { return window_ == nullptr; }
    void Pump() const;

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HBRUSH brush_ = nullptr;
    std::vector<Input> input_;
};

}  // namespace kivo::e2e
