#include "support/screen.h"

#include <cstdlib>
#include <stdexcept>

#include "support/registry.h"
#include "support/wait.h"

namespace kivo::e2e {

namespace {

// Wine keeps the flag as a registry value, read by each process once and then cached: the tests
// read and clear the value itself.
constexpr wchar_t kWineFlagKey[] =
    L"Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop";
constexpr wchar_t kWineFlag[] = L"WINE_ScreenSaverRunning";

}  // namespace

std::vector<std::uint32_t> ScreenPixels(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    SelectObject(memory, previous);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width * height));
    const int rows = GetDIBits(memory, bitmap, 0, height, pixels.data(), &info, DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied || rows != height) {
        throw std::runtime_error("cannot read the screen");
    }
    for (std::uint32_t& pixel : pixels) {
        pixel &= 0xFFFFFF;  // 0x00RRGGBB
    }
    return pixels;
}

bool ColoursClose(std::uint32_t a, std::uint32_t b, int tolerance) {
    for (int shift : {16, 8, 0}) {
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) -
                     static_cast<int>((b >> shift) & 0xFF)) > tolerance) {
            return false;
        }
    }
    return true;
}

bool WaitForPixel(POINT at, std::uint32_t colour, std::chrono::milliseconds timeout) {
    return WaitUntil([&] { return ColoursClose(ScreenPixel(at), colour); }, timeout);
}

bool PointerShowing() {
    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    return GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING) != 0;
}

bool ScreenSaverFlag() {
    return ReadValue(kWineFlagKey, kWineFlag) == L"1";
}

void ClearScreenSaverFlag() {
    WriteValue(kWineFlagKey, kWineFlag, L"0");
}

}  // namespace kivo::e2e
