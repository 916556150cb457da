#pragma once

#include <cstdint>

#include "forms_runtime/picture.h"

namespace kivo::forms::win32 {

struct PixelSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(PixelSize, PixelSize) = default;
};

// Pictures with more pixels than this are refused before any decoding.
inline constexpr std::int64_t kMostPicturePixels = 500'000'000;

// The size to decode a picture of `natural` size at: the smallest one, in the picture's own
// proportions, that still covers the hint's maximum (a zero side sets no limit); the natural size
// itself when that is not larger.
PixelSize DecodeSize(PixelSize natural, const DecodeHint& hint);

}  // namespace kivo::forms::win32
