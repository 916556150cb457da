// Reading the screen as the user sees it, and the system-wide screen-saver flag.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

namespace kivo::e2e {

SIZE ScreenSize();
// Dots per inch of the screen (96 in the harness).
int ScreenDpi();

// The colour of one screen pixel, read through GetDC(NULL).
COLORREF ScreenPixel(int x, int y);
inline COLORREF ScreenPixel(POINT point) {
    return ScreenPixel(point.x, point.y);
}

// The pixels of a screen rectangle, row by row from its top left.
std::vector<COLORREF> ScreenPixels(const RECT& area);

// Whether every channel of a and b differs by at most `tolerance`.
bool ColoursClose(COLORREF a, COLORREF b, int tolerance = 8);

// The share (0..1) of `pixels` close to `colour`.
double ShareOfColour(const std::vector<COLORREF>& pixels, COLORREF colour, int tolerance = 8);

// Waits until the pixel at `point` is close to `colour`.
bool WaitForPixel(POINT point, COLORREF colour, std::chrono::milliseconds timeout,
                  int tolerance = 8);

// Waits until the pixel at `point` is no longer close to `colour`.
bool WaitForPixelChange(POINT point, COLORREF from, std::chrono::milliseconds timeout,
                        int tolerance = 8);

// "RGB(r, g, b)", for failure messages.
std::string ColourText(COLORREF colour);

// SPI_GETSCREENSAVERRUNNING. Under Wine the flag lives in the wineserver, which the tests
// share, so it stays set after a saver is ended until someone clears it.
bool ScreenSaverRunningFlag();
void ClearScreenSaverRunningFlag();

}  // namespace kivo::e2e
