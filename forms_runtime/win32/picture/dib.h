#pragma once

#include <windows.h>

#include <cstdint>

#include "forms_runtime/pixels/pixel_resampler.h"

namespace kivo::forms::win32 {

// A top-down 32-bit device-independent bitmap whose pixels the program writes directly.
class Dib {
  public:
    // An empty one (no handle) when the system cannot make one that large.
    Dib(int width, int height);
    ~Dib();
    Dib(Dib&& other) noexcept;
    Dib& operator=(Dib&& other) noexcept;
    Dib(const Dib&) = delete;
    Dib& operator=(const Dib&) = delete;

    explicit operator bool() const { return handle_ != nullptr; }
    HBITMAP handle() const { return handle_; }
    std::uint32_t* pixels() const { return pixels_; }
    int width() const { return width_; }
    int height() const { return height_; }
    PixelRows rows() const { return {pixels_, width_, height_, width_}; }

  private:
    HBITMAP handle_ = nullptr;
    std::uint32_t* pixels_ = nullptr;
    int width_ = 0;
    int height_ = 0;
};

}  // namespace kivo::forms::win32
