#pragma once

#include <windows.h>

#include <map>

#include "forms_runtime/basics/color.h"

namespace kivo::forms::win32 {

// Solid brushes by colour, made once and kept while the form lives. Used on the window's thread.
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

}  // namespace kivo::forms::win32
