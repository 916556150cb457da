#pragma once

#include "forms_runtime/backend.h"
#include "forms_runtime/pixels/pixel_scale.h"

namespace kivo::forms::win32 {

// The screen's real resolution in dots per inch (the process is DPI aware).
unsigned SystemDpi();
PixelScale ScreenScale();
// The primary screen's size in twips and its twips per pixel.
ScreenMetrics PrimaryScreen();

}  // namespace kivo::forms::win32
