// The screen as the user sees it, the pointer, and the system-wide screen-saver flag. Colours are
// 0xRRGGBB, as tests/common's picture writers take them.
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <vector>

namespace kivo::e2e {

// The pixels of a screen rectangle, row by row from its top left.
std::vector<std::uint32_t> ScreenPixels(const RECT& area);
inline std::uint32_t ScreenPixel(POINT at) {
    return ScreenPixels({at.x, at.y, at.x + 1, at.y + 1}).front();
}

// Whether each of the red, green and blue of `a` and `b` differ by at most `tolerance`.
bool ColoursClose(std::uint32_t a, std::uint32_t b, int tolerance = 8);

// Waits until the pixel at `at` is close to `colour`.
bool WaitForPixel(POINT at, std::uint32_t colour, std::chrono::milliseconds timeout);

bool PointerShowing();

// The system's screen-saver-running flag as Wine keeps it for every process of the prefix: it
// stays set after a saver is ended until someone clears it.
bool ScreenSaverFlag();
void ClearScreenSaverFlag();

}  // namespace kivo::e2e
