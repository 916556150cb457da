#pragma once

namespace kivo::forms {

// A picture's width and height in pixels.
struct PictureSize {
    int width = 0;
    int height = 0;
    friend constexpr bool operator==(PictureSize, PictureSize) = default;
};

}  // namespace kivo::forms
