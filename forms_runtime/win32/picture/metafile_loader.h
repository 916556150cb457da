#pragma once

#include <string>

#include "forms_runtime/basics/picture.h"
#include "forms_runtime/pixels/pixel_scale.h"

namespace kivo::forms::win32 {

// An enhanced metafile (.emf, the whole file's bytes); its natural size is its own frame. `path`
// names it in errors.
Picture LoadEnhancedMetafile(const std::string& path, const std::string& bytes);
// A Windows metafile (.wmf), with or without the placeable header that gives its size; converted
// to an enhanced metafile for drawing.
Picture LoadWindowsMetafile(const std::string& path, const std::string& bytes);
// A cursor (.cur), drawn as the system draws it.
Picture LoadCursorFile(const std::string& path, const PixelScale& scale);

}  // namespace kivo::forms::win32
