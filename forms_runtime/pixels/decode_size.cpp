#include "forms_runtime/pixels/decode_size.h"

#include <algorithm>
#include <cmath>

namespace kivo::forms {

PictureSize DecodeSize(PictureSize natural, const DecodeHint& hint) {
    if (natural.width <= 0 || natural.height <= 0 || !hint.shown_scale) {
        return natural;
    }
    const double scale = hint.shown_scale(natural.width, natural.height);
    if (!(scale > 0 && scale < 1)) {  // NaN too
        return natural;
    }
    const auto side = [scale](int length) {
        return std::clamp(static_cast<int>(std::lround(length * scale)), 1, length);
    };
    return {side(natural.width), side(natural.height)};
}

}  // namespace kivo::forms
