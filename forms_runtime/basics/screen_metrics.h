#pragma once

namespace kivo::forms {

struct ScreenMetrics {
    float width = 0;   // twips
    float height = 0;  // twips
    float twips_per_pixel_x = 15;
    float twips_per_pixel_y = 15;
};

}  // namespace kivo::forms
