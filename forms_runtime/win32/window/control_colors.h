#pragma once

#include <windows.h>

#include <map>

#include "forms_runtime/controls/controls.h"

namespace kivo::forms::win32 {

// Solid brushes by colour, made once and kept while the form lives.
class BrushCache {
  public:
    BrushCache() = default;
    ~BrushCache();
    BrushCache(const BrushCache&) = delete;
    BrushCache& operator=(const BrushCache&) = delete;

    HBRUSH Get(Color color);

  private:
    std::map<COLORREF, HBRUSH> brushes_;
};

// Answers a control's colour request (WM_CTLCOLOR...): a control with colours of its own paints
// its text in ForeColor on BackColor; nullptr leaves a control with system colours to the system.
HBRUSH ControlColors(BrushCache& brushes, HDC dc, const Control& control);

// The colour a frame's surface is filled with.
HBRUSH SurfaceBrush(BrushCache& brushes, const Control& frame);

}  // namespace kivo::forms::win32
