#pragma once

#include <windows.h>

#include "forms_runtime/controls/controls.h"
#include "forms_runtime/win32/window/brush_cache.h"

namespace kivo::forms::win32 {

// Answers a control's colour request (WM_CTLCOLOR...): a control with colours of its own paints
// its text in ForeColor on BackColor; nullptr leaves a control with system colours to the system.
HBRUSH ControlColors(BrushCache& brushes, HDC dc, const Control& control);

// The colour a frame's surface is filled with.
HBRUSH SurfaceBrush(BrushCache& brushes, const Control& frame);

}  // namespace kivo::forms::win32
