#include "forms_runtime/win32/window/brush_cache.h"

#include "forms_runtime/win32/window/windowless_layer.h"

namespace kivo::forms::win32 {

BrushCache::~BrushCache() {
    for (const auto& [color, brush] : brushes_) {
        DeleteObject(brush);
    }
}

HBRUSH BrushCache::Get(Color color) {
    const COLORREF key = ToColorRef(color);
    auto found = brushes_.find(key);
    if (found == brushes_.end()) {
        found = brushes_.emplace(key, CreateSolidBrush(key)).first;
    }
    return found->second;
}

}  // namespace kivo::forms::win32
