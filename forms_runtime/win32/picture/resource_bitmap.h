#pragma once

#include <string>

#include "forms_runtime/basics/picture.h"
#include "forms_runtime/pixels/pixel_scale.h"

namespace kivo::forms::win32 {

// A bitmap stored in the executable (a BITMAP resource of that name), read with GDI alone: no
// codec, no COM and no thread, since its pixels lie in the program's own image. Its natural
// size is its pixels at `scale`; it is opaque. Any thread. A resource that is missing or that GDI
// cannot read is a file-not-found error naming it.
Picture LoadResourceBitmap(const std::string& name, const PixelScale& scale);

}  // namespace kivo::forms::win32
