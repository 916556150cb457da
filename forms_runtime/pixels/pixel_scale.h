#pragma once

#include <cmath>

namespace kivo::forms {

// Twips <-> pixels at the screen's resolution.
struct PixelScale {
    float twips_per_pixel_x = 15;
    float twips_per_pixel_y = 15;

    int X(float twips) const { return static_cast<int>(std::lround(twips / twips_per_pixel_x)); }
    int Y(float twips) const { return static_cast<int>(std::lround(twips / twips_per_pixel_y)); }
    float TwipsX(int pixels) const { return static_cast<float>(pixels) * twips_per_pixel_x; }
    float TwipsY(int pixels) const { return static_cast<float>(pixels) * twips_per_pixel_y; }
};

}  // namespace kivo::forms
