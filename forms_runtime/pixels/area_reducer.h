#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "forms_runtime/pixels/pixel_resampler.h"

namespace kivo::forms {

// How the bytes of one source pixel are laid out.
enum class SourceLayout {
    Bgr24,    // blue, green, red: opaque
    Pbgra32,  // blue, green, red, alpha, the colours already multiplied by the alpha
};

// Shrinks a picture (or keeps a side as it is) to `target`, each target pixel the average of the
// source area it covers, fed with the source rows top-down as the decoder gives them: the source
// is never held whole. The target receives premultiplied BGRA. Every target side must be at most
// the source's.
class AreaReducer {
  public:
    AreaReducer(int source_width, int source_height, SourceLayout layout, const PixelRows& target);
    ~AreaReducer();
    AreaReducer(const AreaReducer&) = delete;
    AreaReducer& operator=(const AreaReducer&) = delete;

    // The next `count` source rows, `stride` bytes apart.
    void AddRows(const std::uint8_t* rows, int count, std::ptrdiff_t stride);

    class Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

// Multiplies the colours of straight-alpha BGRA pixels by their alpha, in place.
void Premultiply(std::uint8_t* pixels, int count);

}  // namespace kivo::forms
