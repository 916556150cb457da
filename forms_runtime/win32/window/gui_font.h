#pragma once

#include <windows.h>

namespace kivo::forms::win32 {

// The system's message font at the screen's resolution, which every control and label uses. When
// that font has no Japanese letters (and the system does not link one in), a font with them
// takes its place. Created once, kept for the life of the process.
HFONT GuiFont();

}  // namespace kivo::forms::win32
