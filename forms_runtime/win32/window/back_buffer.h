#pragma once

#include <windows.h>

#include <functional>

namespace kivo::forms::win32 {

// Paints a window through an off-screen bitmap of its client size, so that the screen receives
// each repaint in one copy and never shows a half-drawn state. The bitmap is kept between paints.
class BackBuffer {
  public:
    BackBuffer() = default;
    ~BackBuffer();
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;

    // Handles WM_PAINT: `draw` paints client coordinates into a DC clipped to `dirty`.
    void Paint(HWND window, const std::function<void(HDC dc, const RECT& dirty)>& draw);

  private:
    bool Fit(HDC screen, int width, int height);
    void Release();

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ original_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace kivo::forms::win32
