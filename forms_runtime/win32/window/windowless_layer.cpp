#include "forms_runtime/win32/window/windowless_layer.h"

#include "forms_runtime/win32/picture/drawable_picture.h"
#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/gui_font.h"

namespace kivo::forms::win32 {

namespace {

bool IsWindowless(const Control& control) {
    return control.kind() == ControlKind::Label || control.kind() == ControlKind::Image;
}

// The three-dimensional single-line border of an image: two pixels on each side.
constexpr int kImageBorder = 2;

}  // namespace

COLORREF ToColorRef(Color color) {
    return RGB(color.r, color.g, color.b);
}

WindowlessLayer::WindowlessLayer(const Form& form, const PixelScale& scale)
    : form_(form), scale_(scale) {
    for (const auto& control : form.controls()) {
        if (IsWindowless(*control)) {
            placed_[control.get()] = control->Visible ? Bounds(*control) : RECT{};
        }
    }
}

RECT WindowlessLayer::Bounds(const Control& control) const {
    const int left = scale_.X(control.Left);
    const int top = scale_.Y(control.Top);
    return {left, top, left + scale_.X(control.Width), top + scale_.Y(control.Height)};
}

void WindowlessLayer::Invalidate(HWND surface, const Control& control) {
    const RECT now = control.Visible ? Bounds(control) : RECT{};
    RECT& before = placed_[&control];
    if (surface != nullptr) {
        if (!IsRectEmpty(&before)) {
            InvalidateRect(surface, &before, FALSE);
        }
        if (!IsRectEmpty(&now)) {
            InvalidateRect(surface, &now, FALSE);
        }
    }
    before = now;
}

void WindowlessLayer::Paint(HDC dc, const Control* container, const RECT& dirty) const {
    for (const auto& owned : form_.controls()) {
        const Control& control = *owned;
        if (control.container() != container || !IsWindowless(control) || !control.Visible) {
            continue;
        }
        const RECT bounds = Bounds(control);
        RECT overlap;
        if (!IntersectRect(&overlap, &bounds, &dirty)) {
            continue;
        }
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        if (control.kind() == ControlKind::Label) {
            PaintLabel(dc, static_cast<const Label&>(control), bounds);
        } else {
            PaintImage(dc, static_cast<const Image&>(control), bounds);
        }
        RestoreDC(dc, saved);
    }
}

void WindowlessLayer::PaintLabel(HDC dc, const Label& label, const RECT& bounds) const {
    if (!label.transparent()) {
        HBRUSH fill = CreateSolidBrush(ToColorRef(label.BackColor));
        FillRect(dc, &bounds, fill);
        DeleteObject(fill);
    }
    SelectObject(dc, GuiFont());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, label.Enabled ? ToColorRef(label.ForeColor) : GetSysColor(COLOR_GRAYTEXT));
    std::wstring text = Widen(label.Caption.get());
    RECT area = bounds;
    DrawTextW(dc, text.data(), static_cast<int>(text.size()), &area,
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
}

void WindowlessLayer::PaintImage(HDC dc, const Image& image, const RECT& bounds) const {
    RECT inside = bounds;
    if (image.border()) {
        RECT edge = bounds;
        DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
        InflateRect(&inside, -kImageBorder, -kImageBorder);
    }
    const auto* picture = dynamic_cast<const DrawablePicture*>(image.Picture.get().get());
    if (picture == nullptr) {
        return;
    }
    RECT target = inside;
    if (!image.Stretch) {
        target.right = target.left + scale_.X(picture->width_twips());
        target.bottom = target.top + scale_.Y(picture->height_twips());
    }
    IntersectClipRect(dc, inside.left, inside.top, inside.right, inside.bottom);
    picture->Draw(dc, target);
}

Image* WindowlessLayer::ImageAt(const Control* container, POINT point) const {
    const auto& controls = form_.controls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        Control& control = **it;
        if (control.kind() != ControlKind::Image || control.container() != container ||
            !control.Visible || !control.Enabled) {
            continue;
        }
        const RECT bounds = Bounds(control);
        if (PtInRect(&bounds, point)) {
            return static_cast<Image*>(&control);
        }
    }
    return nullptr;
}

}  // namespace kivo::forms::win32
