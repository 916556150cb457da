#pragma once

#include "forms_runtime/pixels/pixel_resampler.h"

namespace kivo::forms {

// Whether a camera orientation (1 to 8) turns the picture a quarter: width and height swap.
bool SwapsSides(int orientation);

// Copies `stored` into `upright` turned and mirrored as a camera orientation (1 to 8) says;
// `upright` has the upright size. Any other value copies as it stands.
void MakeUpright(const PixelRows& stored, int orientation, const PixelRows& upright);

}  // namespace kivo::forms
