#pragma once

#include "forms_runtime/win32/picture/dib.h"
#include "forms_runtime/win32/picture/drawable_picture.h"

namespace kivo::forms::win32 {

// Draws a picture (a metafile played, a cursor) into premultiplied BGRA pixels of the given size:
// what it leaves untouched is transparent. An empty Dib when the system cannot make one.
Dib Rasterize(const DrawablePicture& picture, int width, int height);

}  // namespace kivo::forms::win32
