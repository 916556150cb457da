#include <windows.h>

#include <commctrl.h>

#include "forms_runtime/win32/window/standard_controls.h"

namespace kivo::forms::win32 {

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
