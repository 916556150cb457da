#pragma once

#include <cstdint>

namespace kivo::forms {

// Rows of 32-bit premultiplied BGRA pixels, `stride` pixels apart.
struct PixelRows {
    std::uint32_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// Resamples `source` into `target` (each with its own size): an area average where the picture
// shrinks, so that no detail flickers away, and a linear blend where it grows.
void Resample(const PixelRows& source, const PixelRows& target);

}  // namespace kivo::forms
