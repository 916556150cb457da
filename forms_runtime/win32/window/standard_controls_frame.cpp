// A frame is a group box that contains controls: its controls' windows are its children, its
// windowless controls are painted on its surface, and what its children tell their parent goes
// on to the form.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/control_colors.h"
#include "forms_runtime/win32/window/display.h"
#include "forms_runtime/win32/window/gui_font.h"
#include "forms_runtime/win32/window/standard_controls.h"
#include "forms_runtime/win32/window/win32_form_peer.h"
#include "forms_runtime/win32/window/windowless_layer.h"

namespace kivo::forms::win32 {

namespace {

// The frame's group box, drawn here as the classic look draws it: visual styles would draw the
// caption in the theme's colour whatever the frame's colours, and show the form through it.
void DrawGroupBox(HDC dc, HWND window, const Frame& frame, HBRUSH background) {
    RECT client;
    GetClientRect(window, &client);
    HGDIOBJ old_font = SelectObject(dc, GuiFont());
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    RECT edge = client;
    edge.top += metrics.tmHeight / 2 - 1;
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    const std::wstring caption = Widen(frame.Caption.get());
    if (!caption.empty()) {
        const int indent = MulDiv(7, static_cast<int>(SystemDpi()), 96);
        RECT label{client.left + indent, client.top, client.right - indent,
                   client.top + metrics.tmHeight};
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &label,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
        label.right = std::min(label.right + 2, client.right - indent);
        FillRect(dc, &label, background);
        label.left += 1;
        SetBkMode(dc, TRANSPARENT);
        COLORREF color =
            frame.system_colors() ? GetSysColor(COLOR_BTNTEXT) : ToColorRef(frame.ForeColor);
        if (!frame.Enabled) {
            color = GetSysColor(COLOR_GRAYTEXT);
        }
        SetTextColor(dc, color);
        DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &label,
                  DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
    SelectObject(dc, old_font);
}

}  // namespace

LRESULT CALLBACK StandardControls::FrameProc(HWND window, UINT message, WPARAM wparam,
                                             LPARAM lparam, UINT_PTR, DWORD_PTR peer_address) {
    auto& peer = *reinterpret_cast<Win32FormPeer*>(peer_address);
    switch (message) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return SendMessageW(peer.window(), message, wparam, lparam);
        case WM_ERASEBKGND:
            return 1;  // the paint fills the background
        case WM_PAINT:
        case WM_PRINTCLIENT:
            if (const auto* frame = dynamic_cast<const Frame*>(peer.ControlOfWindow(window))) {
                const auto draw_box = [window, frame, &peer](HDC dc) {
                    DrawGroupBox(dc, window, *frame, SurfaceBrush(peer.brushes(), *frame));
                };
                if (message == WM_PAINT) {
                    peer.PaintFrame(window, *frame, draw_box);
                } else {
                    RECT client;
                    GetClientRect(window, &client);
                    peer.DrawFrame(reinterpret_cast<HDC>(wparam), window, *frame, client, draw_box);
                }
                return 0;
            }
            break;
        case WM_NCHITTEST:
            // A group box lets the mouse through to what lies below; this one holds images.
            return HTCLIENT;
        case WM_MOUSEMOVE:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            if (const Control* frame = peer.ControlOfWindow(window)) {
                peer.SurfaceMouse(frame, message, wparam, lparam);
                return 0;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace kivo::forms::win32
