#pragma once

#include <windows.h>

#include "forms_runtime/basics/picture.h"

namespace kivo::forms::win32 {

// A picture this backend loaded, which can draw itself.
class DrawablePicture : public PictureData {
  public:
    using PictureData::PictureData;
    // Draws the whole picture into `target` (pixels of `dc`), scaled to its size.
    virtual void Draw(HDC dc, const RECT& target) const = 0;
};

}  // namespace kivo::forms::win32
