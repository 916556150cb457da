#pragma once

#include <cstdint>

#include "forms_runtime/basics/decode_hint.h"
#include "forms_runtime/pixels/picture_size.h"

namespace kivo::forms {

// Pictures with more pixels than this are refused before any decoding.
inline constexpr std::int64_t kMostPicturePixels = 500'000'000;

// The size to decode a picture of `natural` (upright) size at: the size it will be shown at, as
// the hint's scale says, each side rounded to the nearest pixel as the screen rounds it; the
// natural size itself when the hint sets no scale below 1.
PictureSize DecodeSize(PictureSize natural, const DecodeHint& hint);

}  // namespace kivo::forms
