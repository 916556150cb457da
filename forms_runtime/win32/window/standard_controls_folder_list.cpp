// The folder list's lines: the open folder's ancestors and the open folder as opened folders,
// each indented one step more than its parent, then its subfolders as closed folders.
#include <algorithm>

#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/brush_cache.h"
#include "forms_runtime/win32/window/display.h"
#include "forms_runtime/win32/window/gui_font.h"
#include "forms_runtime/win32/window/standard_controls.h"
#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32 {

namespace {

int Scaled(int pixels_at_96_dpi) {
    return MulDiv(pixels_at_96_dpi, static_cast<int>(SystemDpi()), 96);
}

int FontHeight() {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, GuiFont());
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return metrics.tmHeight;
}

void FillBox(HDC dc, int left, int top, int right, int bottom, COLORREF color) {
    const RECT box{left, top, right, bottom};
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &box, brush);
    DeleteObject(brush);
}

// A folder sign in a square of `size` pixels: a tab and a body; an opened folder shows a lighter
// front leaf lying over its body.
void DrawFolderSign(HDC dc, int left, int top, int size, bool opened) {
    const COLORREF edge = RGB(160, 120, 20);
    const COLORREF body = RGB(232, 190, 80);
    const COLORREF leaf = RGB(250, 222, 140);
    const int tab_width = size * 2 / 5;
    const int tab_height = std::max(1, size / 8);
    const int body_top = top + size / 4;
    const int bottom = top + size - size / 8;
    FillBox(dc, left, body_top - tab_height, left + tab_width, body_top + 1, edge);
    FillBox(dc, left, body_top, left + size, bottom, edge);
    FillBox(dc, left + 1, body_top + 1, left + size - 1, bottom - 1, body);
    if (opened) {
        FillBox(dc, left + size / 5, body_top + size / 5, left + size, bottom, edge);
        FillBox(dc, left + size / 5 + 1, body_top + size / 5 + 1, left + size - 1, bottom - 1,
                leaf);
    }
}

}  // namespace

int StandardControls::FolderLineHeight() {
    return std::max(FontHeight(), Scaled(16)) + Scaled(2);
}

void StandardControls::DrawItem(const DRAWITEMSTRUCT& item) const {
    const auto* list = dynamic_cast<const DirList*>(ControlById(static_cast<int>(item.CtlID)));
    if (list == nullptr) {
        return;
    }
    HDC dc = item.hDC;
    const RECT line = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    COLORREF text_color = GetSysColor(COLOR_WINDOWTEXT);
    HBRUSH background = GetSysColorBrush(COLOR_WINDOW);
    if (selected) {
        text_color = GetSysColor(COLOR_HIGHLIGHTTEXT);
        background = GetSysColorBrush(COLOR_HIGHLIGHT);
    } else if (!list->system_colors()) {
        text_color = ToColorRef(list->ForeColor);
        background = peer_.brushes().Get(list->BackColor);
    }
    FillRect(dc, &line, background);

    const auto& lines = list->entries();
    if (item.itemID < lines.size()) {
        const FolderListEntry& entry = lines[item.itemID];
        const int sign = Scaled(16);
        const int left = line.left + Scaled(2) + entry.depth * Scaled(8);
        const int top = line.top + (line.bottom - line.top - sign) / 2;
        // The open folder and its ancestors (the lines above it) are opened.
        const bool opened =
            entry.is_open || std::any_of(lines.begin(), lines.end(), [&entry](const auto& other) {
                return other.is_open && entry.depth < other.depth;
            });
        DrawFolderSign(dc, left, top, sign, opened);
        RECT text_area = line;
        text_area.left = left + sign + Scaled(4);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, list->Enabled ? text_color : GetSysColor(COLOR_GRAYTEXT));
        HGDIOBJ old = SelectObject(dc, GuiFont());
        const std::wstring label = Widen(entry.label);
        DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &text_area,
                  DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
        SelectObject(dc, old);
    }
    if ((item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0) {
        DrawFocusRect(dc, &line);
    }
}

}  // namespace kivo::forms::win32
