#include "forms_runtime/win32/picture/rasterizer.h"

#include <algorithm>
#include <cstdint>

namespace kivo::forms::win32 {

namespace {

Dib DrawOn(const DrawablePicture& picture, int width, int height, std::uint32_t background) {
    Dib dib(width, height);
    if (!dib) {
        return dib;
    }
    std::fill_n(dib.pixels(), static_cast<std::size_t>(width) * height, background);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib.handle());
    const RECT target{0, 0, width, height};
    picture.Draw(dc, target);
    GdiFlush();
    SelectObject(dc, old);
    DeleteDC(dc);
    return dib;
}

}  // namespace

// Drawn once on black and once on white: where both agree the picture covers the pixel; where
// they differ by the whole range it left the pixel alone; in between, it blended (alpha is what
// the backgrounds no longer show through).
Dib Rasterize(const DrawablePicture& picture, int width, int height) {
    Dib on_black = DrawOn(picture, width, height, 0x00000000u);
    Dib on_white = on_black ? DrawOn(picture, width, height, 0x00FFFFFFu) : Dib(0, 0);
    if (!on_white) {
        return Dib(0, 0);
    }
    std::uint32_t* black = on_black.pixels();
    const std::uint32_t* white = on_white.pixels();
    const std::size_t count = static_cast<std::size_t>(width) * height;
    for (std::size_t i = 0; i < count; ++i) {
        int shown_through = 0;
        for (int shift = 0; shift < 24; shift += 8) {
            const int b = static_cast<int>((black[i] >> shift) & 0xFF);
            const int w = static_cast<int>((white[i] >> shift) & 0xFF);
            shown_through = std::max(shown_through, w - b);
        }
        const auto alpha = static_cast<std::uint32_t>(255 - shown_through);
        // On black the colour is already premultiplied; it cannot exceed its alpha.
        std::uint32_t pixel = alpha << 24;
        for (int shift = 0; shift < 24; shift += 8) {
            pixel |= std::min((black[i] >> shift) & 0xFF, alpha) << shift;
        }
        black[i] = pixel;
    }
    return on_black;
}

}  // namespace kivo::forms::win32
