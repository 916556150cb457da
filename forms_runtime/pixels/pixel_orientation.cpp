#include "forms_runtime/pixels/pixel_orientation.h"

#include <cstddef>

namespace kivo::forms {

bool SwapsSides(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

void MakeUpright(const PixelRows& stored, int orientation, const PixelRows& upright) {
    const int w = stored.width;
    const int h = stored.height;
    for (int y = 0; y < h; ++y) {
        const std::uint32_t* row = stored.pixels + static_cast<std::ptrdiff_t>(y) * stored.stride;
        for (int x = 0; x < w; ++x) {
            // Where the stored pixel (x, y) stands once the picture is upright.
            int ux = x;
            int uy = y;
            switch (orientation) {
                case 2:  // mirrored
                    ux = w - 1 - x;
                    break;
                case 3:  // half a turn
                    ux = w - 1 - x;
                    uy = h - 1 - y;
                    break;
                case 4:  // upside down
                    uy = h - 1 - y;
                    break;
                case 5:  // transposed
                    ux = y;
                    uy = x;
                    break;
                case 6:  // a quarter turn clockwise
                    ux = h - 1 - y;
                    uy = x;
                    break;
                case 7:  // transversed
                    ux = h - 1 - y;
                    uy = w - 1 - x;
                    break;
                case 8:  // a quarter turn counter-clockwise
                    ux = y;
                    uy = w - 1 - x;
                    break;
                default:
                    break;
            }
            upright.pixels[static_cast<std::ptrdiff_t>(uy) * upright.stride + ux] = row[x];
        }
    }
}

}  // namespace kivo::forms
