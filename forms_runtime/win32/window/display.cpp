#include "forms_runtime/win32/window/display.h"

#include <windows.h>

namespace kivo::forms::win32 {

unsigned SystemDpi() {
    // Looked up at run time: older systems lack it, and then the screen's device context knows.
    using GetDpiForSystemFn = UINT(WINAPI*)();
    static const auto get_dpi_for_system =
        reinterpret_cast<GetDpiForSystemFn>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForSystem")));
    if (get_dpi_for_system != nullptr) {
        if (const UINT dpi = get_dpi_for_system(); dpi > 0) {
            return dpi;
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96;
}

PixelScale ScreenScale() {
    const float twips_per_pixel = 1440.0f / static_cast<float>(SystemDpi());
    return {twips_per_pixel, twips_per_pixel};
}

ScreenMetrics PrimaryScreen() {
    const PixelScale scale = ScreenScale();
    ScreenMetrics screen;
    screen.width = scale.TwipsX(GetSystemMetrics(SM_CXSCREEN));
    screen.height = scale.TwipsY(GetSystemMetrics(SM_CYSCREEN));
    screen.twips_per_pixel_x = scale.twips_per_pixel_x;
    screen.twips_per_pixel_y = scale.twips_per_pixel_y;
    return screen;
}

}  // namespace kivo::forms::win32
