#include "forms_runtime/win32/window/control_colors.h"

#include "forms_runtime/win32/window/windowless_layer.h"

namespace kivo::forms::win32 {

HBRUSH ControlColors(BrushCache& brushes, HDC dc, const Control& control) {
    if (control.system_colors()) {
        return nullptr;
    }
    SetTextColor(dc, control.Enabled ? ToColorRef(control.ForeColor) : GetSysColor(COLOR_GRAYTEXT));
    SetBkColor(dc, ToColorRef(control.BackColor));
    return brushes.Get(control.BackColor);
}

HBRUSH SurfaceBrush(BrushCache& brushes, const Control& frame) {
    return frame.system_colors() ? GetSysColorBrush(COLOR_BTNFACE) : brushes.Get(frame.BackColor);
}

}  // namespace kivo::forms::win32
