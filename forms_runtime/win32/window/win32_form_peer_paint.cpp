// A form window's painting: its surface through a back buffer, the frames' surfaces, the
// standard controls' colours and owner-drawn items, and the measure of a control's text.
#include <algorithm>

#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/control_colors.h"
#include "forms_runtime/win32/window/gui_font.h"
#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32 {

std::optional<LRESULT> Win32FormPeer::OnPainting(HWND window, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
    switch (message) {
        case WM_ERASEBKGND:
            return 1;  // the paint fills the background
        case WM_PAINT:
            buffer_.Paint(window, [this](HDC dc, const RECT& dirty) { PaintSurface(dc, dirty); });
            return 0;
        case WM_PRINTCLIENT: {
            // Themed controls ask for the background behind them; tools for a picture.
            RECT client;
            GetClientRect(window, &client);
            PaintSurface(reinterpret_cast<HDC>(wparam), client);
            return 0;
        }
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            if (const LRESULT brush =
                    OnControlColor(reinterpret_cast<HDC>(wparam), reinterpret_cast<HWND>(lparam))) {
                return brush;
            }
            return std::nullopt;  // the system's colours
        case WM_DRAWITEM:
            if (controls_ != nullptr) {
                controls_->DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam));
            }
            return TRUE;
        case WM_MEASUREITEM:
            reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->itemHeight =
                static_cast<UINT>(StandardControls::FolderLineHeight());
            return TRUE;
        default:
            return std::nullopt;
    }
}

void Win32FormPeer::PaintSurface(HDC dc, const RECT& dirty) {
    FillRect(dc, &dirty, brushes_.Get(form_.layout().back_color));
    layer_.Paint(dc, nullptr, dirty);
}

LRESULT Win32FormPeer::OnControlColor(HDC dc, HWND control_window) {
    const Control* control = ControlOfWindow(control_window);
    if (control == nullptr) {
        return 0;
    }
    return reinterpret_cast<LRESULT>(ControlColors(brushes_, dc, *control));
}

void Win32FormPeer::DrawFrame(HDC dc, HWND frame_window, const Control& frame, const RECT& dirty,
                              const std::function<void(HDC dc)>& draw_box) {
    RECT client;
    GetClientRect(frame_window, &client);
    FillRect(dc, &client, SurfaceBrush(brushes_, frame));
    draw_box(dc);
    layer_.Paint(dc, &frame, dirty);
}

void Win32FormPeer::PaintFrame(HWND frame_window, const Control& frame,
                               const std::function<void(HDC dc)>& draw_box) {
    std::unique_ptr<BackBuffer>& buffer = frame_buffers_[frame_window];
    if (!buffer) {
        buffer = std::make_unique<BackBuffer>();
    }
    buffer->Paint(frame_window, [&](HDC dc, const RECT& dirty) {
        DrawFrame(dc, frame_window, frame, dirty, draw_box);
    });
}

TextExtent Win32FormPeer::MeasureText(const Control&, const std::string& text) {
    const std::wstring wide = Widen(text);
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GuiFont());
    SIZE size = {};
    GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {scale_.TwipsX(size.cx), scale_.TwipsY(std::max<int>(size.cy, metrics.tmHeight))};
}

}  // namespace kivo::forms::win32
