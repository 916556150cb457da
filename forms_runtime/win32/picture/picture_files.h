#pragma once

#include <string>

#include "forms_runtime/basics/picture.h"
#include "forms_runtime/pixels/pixel_scale.h"
#include "forms_runtime/win32/picture/wic_loader.h"

namespace kivo::forms::win32 {

// Loads a picture file of any kind the program shows: metafiles through GDI, cursors as the
// system loads them, everything else through the imaging component. The file's first bytes, not
// its name, say which. A missing or unreadable file is a file-not-found error, anything that is
// no picture an invalid-picture error.
Picture LoadPictureFile(WicLoader& wic, const std::string& path, const DecodeHint& hint,
                        const PixelScale& scale);

}  // namespace kivo::forms::win32
