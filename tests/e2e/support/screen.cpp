#include "support/screen.h"

#include "support/registry.h"

#include <cstdlib>

#include "support/errors.h"
#include "support/wait.h"

namespace kivo::e2e {

SIZE ScreenSize() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi;
}

COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    if (screen == nullptr) {
        ThrowLastError("GetDC(NULL)");
    }
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    if (colour == CLR_INVALID) {
        ThrowLastError("GetPixel(" + std::to_string(x) + ", " + std::to_string(y) + ")");
    }
    return colour;
}

std::vector<COLORREF> ScreenPixels(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    if (width <= 0 || height <= 0) {
        return {};
    }
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap == nullptr) {
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        ThrowLastError("CreateDIBSection");
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, area.left, area.top, SRCCOPY);
    const DWORD error = GetLastError();
    GdiFlush();
    std::vector<COLORREF> pixels;
    if (copied) {
        const auto* source = static_cast<const DWORD*>(bits);
        pixels.reserve(static_cast<size_t>(width) * static_cast<size_t>(height));
        for (size_t i = 0; i < static_cast<size_t>(width) * static_cast<size_t>(height); ++i) {
            const DWORD bgra = source[i];
            pixels.push_back(RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF));
        }
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) {
        ThrowError("BitBlt from the screen", error);
    }
    return pixels;
}

bool ColoursClose(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

double ShareOfColour(const std::vector<COLORREF>& pixels, COLORREF colour, int tolerance) {
    if (pixels.empty()) {
        return 0.0;
    }
    size_t close = 0;
    for (COLORREF pixel : pixels) {
        close += ColoursClose(pixel, colour, tolerance) ? 1 : 0;
    }
    return static_cast<double>(close) / static_cast<double>(pixels.size());
}

bool WaitForPixel(POINT point, COLORREF colour, std::chrono::milliseconds timeout, int tolerance) {
    return WaitUntil([&] { return ColoursClose(ScreenPixel(point), colour, tolerance); }, timeout,
                     20ms);
}

bool WaitForPixelChange(POINT point, COLORREF from, std::chrono::milliseconds timeout,
                        int tolerance) {
    return WaitUntil([&] { return !ColoursClose(ScreenPixel(point), from, tolerance); }, timeout,
                     20ms);
}

std::string ColourText(COLORREF colour) {
    return "RGB(" + std::to_string(GetRValue(colour)) + ", " + std::to_string(GetGValue(colour)) +
           ", " + std::to_string(GetBValue(colour)) + ")";
}

bool ScreenSaverRunningFlag() {
    // Wine keeps the flag as a volatile registry value and caches it in each process at its
    // first read, so another process's change is seen only in the registry.
    if (const auto wine = GetRegistryString(
            L"Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop",
            L"WINE_ScreenSaverRunning")) {
        return *wine == L"1";
    }
    BOOL running = FALSE;
    if (!SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &running, 0)) {
        ThrowLastError("SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING)");
    }
    return running != FALSE;
}

void ClearScreenSaverRunningFlag() {
    // Wine skips the write when this process's cached value is already clear.
    const wchar_t* const wine_key =
        L"Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop";
    if (GetRegistryString(wine_key, L"WINE_ScreenSaverRunning")) {
        SetRegistryString(wine_key, L"WINE_ScreenSaverRunning", L"0");
    }
    BOOL previous = FALSE;
    if (!SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING, FALSE, &previous, 0)) {
        ThrowLastError("SystemParametersInfoW(SPI_SETSCREENSAVERRUNNING)");
    }
}

}  // namespace kivo::e2e
