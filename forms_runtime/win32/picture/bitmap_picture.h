#pragma once

#include <list>

#include "forms_runtime/win32/picture/dib.h"
#include "forms_runtime/win32/picture/drawable_picture.h"

namespace kivo::forms::win32 {

// A decoded picture: premultiplied BGRA pixels, possibly fewer than its natural size.
class BitmapPicture : public DrawablePicture {
  public:
    BitmapPicture(Dib pixels, float width_twips, float height_twips);

    const Dib& pixels() const { return pixels_; }
    // Call once the pixels are written: opaque pictures are copied, others blended. A caller that
    // knows its pixels opaque says so, and they are not looked through.
    void PixelsWritten(bool known_opaque = false);
    bool has_alpha() const { return has_alpha_; }
    void Draw(HDC dc, const RECT& target) const override;

  private:
    // The pixels at that size, resampled once and kept for the next repaint.
    const Dib* ScaledTo(int width, int height) const;

    Dib pixels_;
    bool has_alpha_ = false;
    mutable std::list<Dib> scaled_;  // most recently used first
};

}  // namespace kivo::forms::win32
