#include "forms_runtime/win32/window/control_colors.h"

#include <commctrl.h>

#include "forms_runtime/win32/window/standard_controls.h"
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

// A themed edit control paints its frame's background over its whole window, client area
// included, and the screen may show that before the box paints its own colours there: a dark
// box would flash white as it appears. Its frame is painted through a region without the client
// area.
LRESULT CALLBACK StandardControls::TextBoxProc(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam, UINT_PTR, DWORD_PTR) {
    if (message != WM_NCPAINT) {
        return DefSubclassProc(window, message, wparam, lparam);
    }
    RECT outer;
    GetWindowRect(window, &outer);
    RECT client;
    GetClientRect(window, &client);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
    HRGN frame = CreateRectRgnIndirect(&outer);
    HRGN inside = CreateRectRgnIndirect(&client);
    CombineRgn(frame, frame, inside, RGN_DIFF);
    DeleteObject(inside);
    if (wparam > 1) {  // 1: the whole window
        CombineRgn(frame, frame, reinterpret_cast<HRGN>(wparam), RGN_AND);
    }
    const LRESULT result =
        DefSubclassProc(window, message, reinterpret_cast<WPARAM>(frame), lparam);
    // A control that clips its drawing with the region (GetDCEx, DCX_INTERSECTRGN) hands it over
    // to the system, which deletes it.
    if (GetObjectType(frame) == OBJ_REGION) {
        DeleteObject(frame);
    }
    return result;
}

}  // namespace kivo::forms::win32
