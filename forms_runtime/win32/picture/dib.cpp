#include "forms_runtime/win32/picture/dib.h"

#include <utility>

namespace kivo::forms::win32 {

Dib::Dib(int width, int height) {
    if (width <= 0 || height <= 0) {
        return;
    }
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    handle_ = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (handle_ != nullptr) {
        pixels_ = static_cast<std::uint32_t*>(bits);
        width_ = width;
        height_ = height;
    }
}

Dib::~Dib() {
    if (handle_ != nullptr) {
        DeleteObject(handle_);
    }
}

Dib::Dib(Dib&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      pixels_(std::exchange(other.pixels_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

Dib& Dib::operator=(Dib&& other) noexcept {
    if (this != &other) {
        if (handle_ != nullptr) {
            DeleteObject(handle_);
        }
        handle_ = std::exchange(other.handle_, nullptr);
        pixels_ = std::exchange(other.pixels_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

}  // namespace kivo::forms::win32
