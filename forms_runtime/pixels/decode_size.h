#pragma once

#include <cstdint>

#include "forms_runtime/basics/decode_hint.h"

namespace kivo::forms {

struct PixelSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(PixelSize, PixelSize) = default;
};

// Pictures with more pixels than this are refused before any decoding.
inline constexpr std::int64_t kMostPicturePixels = 500'000'000;

// The size to decode a picture of `natural` (upright) size at: the size it will be shown at, as
// the hint's scale says, each side rounded to the nearest pixel as the screen rounds it; the
// natural size itself when the hint sets no scale below 1.
PixelSize DecodeSize(PixelSize natural, const DecodeHint& hint);

}  // namespace kivo::forms
