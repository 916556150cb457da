#include "forms_runtime/win32/decode_size.h"

#include <algorithm>
#include <cmath>

namespace kivo::forms::win32 {

PixelSize DecodeSize(PixelSize natural, const DecodeHint& hint) {
    if (natural.width <= 0 || natural.height <= 0) {
        return natural;
    }
    double factor = 0;
    if (hint.max_width_px > 0) {
        factor = std::max(factor, static_cast<double>(hint.max_width_px) / natural.width);
    }
    if (hint.max_height_px > 0) {
        factor = std::max(factor, static_cast<double>(hint.max_height_px) / natural.height);
    }
    if (factor <= 0 || factor >= 1) {
        return natural;
    }
    // Rounded up, so that the decoded picture never falls short of the hint by a pixel.
    const auto side = [factor](int length) {
        return std::max(1, static_cast<int>(std::ceil(length * factor - 1e-9)));
    };
    return {side(natural.width), side(natural.height)};
}

}  // namespace kivo::forms::win32
