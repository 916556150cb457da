#pragma once

#include <windows.h>

#include <unordered_map>

#include "forms_runtime/controls/image.h"
#include "forms_runtime/controls/label.h"
#include "forms_runtime/form.h"
#include "forms_runtime/pixels/pixel_scale.h"

namespace kivo::forms::win32 {

// The labels and images of a form, which have no windows of their own: they are painted on
// their container's surface (the form or a frame) in creation order, later ones over earlier
// ones, and images take the mouse by hit test.
class WindowlessLayer {
  public:
    WindowlessLayer(const Form& form, const PixelScale& scale);

    // The control's rectangle in its container's client pixels, border included.
    RECT Bounds(const Control& control) const;
    // Paints the visible windowless controls of `container` (nullptr: the form) that meet `dirty`.
    void Paint(HDC dc, const Control* container, const RECT& dirty) const;
    // The topmost visible, enabled image of `container` under the point, or nullptr. Labels never
    // take the mouse.
    Image* ImageAt(const Control* container, POINT point) const;
    // Marks for repainting where the control was and where it is now. Nothing is painted here:
    // the screen changes once the running event has returned.
    void Invalidate(HWND surface, const Control& control);

  private:
    void PaintLabel(HDC dc, const Label& label, const RECT& bounds) const;
    void PaintImage(HDC dc, const Image& image, const RECT& bounds) const;

    const Form& form_;
    PixelScale scale_;
    std::unordered_map<const Control*, RECT> placed_;  // where each one is on its surface
};

COLORREF ToColorRef(Color color);

}  // namespace kivo::forms::win32
