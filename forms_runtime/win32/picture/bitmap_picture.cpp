#include "forms_runtime/win32/picture/bitmap_picture.h"

#include <algorithm>

namespace kivo::forms::win32 {

namespace {

// A picture is shown at one size at a time: a copy at a size it no longer has goes, so that no
// more than the picture and the copy it is shown from stay in memory.
constexpr std::size_t kScaledSizesKept = 1;
// Beyond this many pixels a scaled copy costs more memory than it saves in time.
constexpr long long kLargestScaledCopy = 64LL * 1024 * 1024;

void Blit(HDC dc, const RECT& target, HDC source, int width, int height, bool blend) {
    const int target_width = target.right - target.left;
    const int target_height = target.bottom - target.top;
    if (blend) {
        const BLENDFUNCTION function{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, target.left, target.top, target_width, target_height, source, 0, 0, width,
                   height, function);
    } else if (target_width == width && target_height == height) {
        BitBlt(dc, target.left, target.top, width, height, source, 0, 0, SRCCOPY);
    } else {
        const int old_mode = SetStretchBltMode(dc, HALFTONE);
        POINT origin;
        SetBrushOrgEx(dc, 0, 0, &origin);
        StretchBlt(dc, target.left, target.top, target_width, target_height, source, 0, 0, width,
                   height, SRCCOPY);
        SetBrushOrgEx(dc, origin.x, origin.y, nullptr);
        SetStretchBltMode(dc, old_mode);
    }
}

}  // namespace

BitmapPicture::BitmapPicture(Dib pixels, float width_twips, float height_twips)
    : DrawablePicture(width_twips, height_twips), pixels_(std::move(pixels)) {}

void BitmapPicture::PixelsWritten(bool known_opaque) {
    if (known_opaque) {
        has_alpha_ = false;
        return;
    }
    const std::uint32_t* p = pixels_.pixels();
    const std::uint32_t* end = p + static_cast<std::ptrdiff_t>(pixels_.width()) * pixels_.height();
    has_alpha_ = std::any_of(p, end, [](std::uint32_t pixel) { return (pixel >> 24) != 0xFF; });
}

const Dib* BitmapPicture::ScaledTo(int width, int height) const {
    for (auto it = scaled_.begin(); it != scaled_.end(); ++it) {
        if (it->width() == width && it->height() == height) {
            scaled_.splice(scaled_.begin(), scaled_, it);
            return &scaled_.front();
        }
    }
    if (static_cast<long long>(width) * height > kLargestScaledCopy) {
        return nullptr;
    }
    Dib scaled(width, height);
    if (!scaled) {
        return nullptr;
    }
    Resample(pixels_.rows(), scaled.rows());
    GdiFlush();
    scaled_.push_front(std::move(scaled));
    if (scaled_.size() > kScaledSizesKept) {
        scaled_.pop_back();
    }
    return &scaled_.front();
}

void BitmapPicture::Draw(HDC dc, const RECT& target) const {
    const int width = target.right - target.left;
    const int height = target.bottom - target.top;
    if (width <= 0 || height <= 0 || !pixels_) {
        return;
    }
    const Dib* source = &pixels_;
    if (width != pixels_.width() || height != pixels_.height()) {
        if (const Dib* scaled = ScaledTo(width, height)) {
            source = scaled;
        }
    }
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, source->handle());
    Blit(dc, target, memory, source->width(), source->height(), has_alpha_);
    SelectObject(memory, old);
    DeleteDC(memory);
}

}  // namespace kivo::forms::win32
