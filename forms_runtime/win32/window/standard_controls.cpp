#include "forms_runtime/win32/window/standard_controls.h"

#include <windows.h>

#include <commctrl.h>
#include <uxtheme.h>

#include <algorithm>
#include <climits>

#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/gui_font.h"
#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32 {

namespace {

// Control identifiers start above the dialog keyboard's own (IDOK, IDCANCEL).
constexpr int kFirstControlId = 100;

constexpr UINT_PTR kFolderListSubclass = 1;
constexpr UINT_PTR kFrameSubclass = 2;
constexpr UINT_PTR kTextBoxSubclass = 3;

struct WindowKind {
    const wchar_t* window_class;
    DWORD style;
    DWORD ex_style;
};

WindowKind KindOf(const Control& control) {
    switch (control.kind()) {
        case ControlKind::TextBox:
            return {L"Edit", ES_LEFT | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::CommandButton:
            return {L"Button",
                    static_cast<const CommandButton&>(control).is_default()
                        ? static_cast<DWORD>(BS_DEFPUSHBUTTON)
                        : static_cast<DWORD>(BS_PUSHBUTTON),
                    0};
        case ControlKind::CheckBox:
            return {L"Button", BS_AUTOCHECKBOX, 0};
        case ControlKind::Frame:
            return {L"Button", BS_GROUPBOX | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT};
        case ControlKind::FileList:
            return {L"ListBox", LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL, WS_EX_CLIENTEDGE};
        case ControlKind::DirList:
            return {L"ListBox",
                    LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                        WS_VSCROLL,
                    WS_EX_CLIENTEDGE};
        case ControlKind::DriveList:
            return {L"ComboBox", CBS_DROPDOWNLIST | WS_VSCROLL, 0};
        default:
            return {nullptr, 0, 0};
    }
}

// Where a control stands in its container's tab order; a frame stands where its first
// focusable control does.
int TabKey(const Form& form, const Control& control) {
    if (control.kind() != ControlKind::Frame) {
        return control.tab_index() >= 0 ? control.tab_index() : INT_MAX;
    }
    int key = control.tab_index() >= 0 ? control.tab_index() : INT_MAX;
    for (const auto& child : form.controls()) {
        if (child->container() == &control && child->windowed()) {
            key = std::min(key, TabKey(form, *child));
        }
    }
    return key;
}

}  // namespace

StandardControls::StandardControls(Win32FormPeer& peer) : peer_(peer) {
    CreateChildren(nullptr, peer_.window());
}

StandardControls::~StandardControls() {
    for (const Entry& entry : entries_) {
        RemoveWindowSubclass(entry.window, FolderListProc, kFolderListSubclass);
        RemoveWindowSubclass(entry.window, FrameProc, kFrameSubclass);
        RemoveWindowSubclass(entry.window, TextBoxProc, kTextBoxSubclass);
    }
}

void StandardControls::CreateChildren(const Control* container, HWND parent) {
    std::vector<Control*> children;
    for (const auto& control : peer_.form().controls()) {
        if (control->container() == container && control->windowed() &&
            KindOf(*control).window_class != nullptr) {
            children.push_back(control.get());
        }
    }
    std::stable_sort(children.begin(), children.end(), [this](Control* a, Control* b) {
        return TabKey(peer_.form(), *a) < TabKey(peer_.form(), *b);
    });
    // Each new child window goes below its siblings: creation order is the tab order.
    for (Control* child : children) {
        Create(*child, parent);
        if (child->kind() == ControlKind::Frame) {
            CreateChildren(child, WindowOf(*child));
        }
    }
}

void StandardControls::Create(Control& control, HWND parent) {
    const auto& controls = peer_.form().controls();
    const auto position = std::find_if(controls.begin(), controls.end(),
                                       [&control](const auto& c) { return c.get() == &control; });
    Entry entry;
    entry.control = &control;
    entry.id = kFirstControlId + static_cast<int>(position - controls.begin());
    entries_.push_back(entry);

    const WindowKind kind = KindOf(control);
    DWORD style = WS_CHILD | kind.style;
    if (control.Visible) {
        style |= WS_VISIBLE;
    }
    if (control.tab_index() >= 0 && control.kind() != ControlKind::Frame) {
        style |= WS_TABSTOP;
    }
    HWND window =
        CreateWindowExW(kind.ex_style, kind.window_class, Widen(CaptionOf(control)).c_str(), style,
                        0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                        GetModuleHandleW(nullptr), nullptr);
    Entry& created = entries_.back();
    created.window = window;
    if (window == nullptr) {
        return;
    }
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(GuiFont()), FALSE);
    if (control.kind() == ControlKind::DriveList) {
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        if (GetComboBoxInfo(window, &info)) {
            created.list = info.hwndList;
        }
    }
    if (!control.system_colors() && control.kind() == ControlKind::CheckBox) {
        // Visual styles draw the caption in the theme's colour: classic drawing honours ours.
        // (A frame's group box is drawn by the frame's surface itself.)
        SetWindowTheme(window, L"", L"");
    }
    if (!control.system_colors() && control.kind() == ControlKind::TextBox) {
        SetWindowSubclass(window, TextBoxProc, kTextBoxSubclass, 0);
    }
    if (control.kind() == ControlKind::DirList) {
        SendMessageW(window, LB_SETITEMHEIGHT, 0, FolderLineHeight());
        SetWindowSubclass(window, FolderListProc, kFolderListSubclass,
                          reinterpret_cast<DWORD_PTR>(this));
    }
    if (control.kind() == ControlKind::Frame) {
        SetWindowSubclass(window, FrameProc, kFrameSubclass, reinterpret_cast<DWORD_PTR>(&peer_));
    }
    if (!control.Enabled) {
        EnableWindow(window, FALSE);
    }
    const Entry snapshot = created;
    Place(snapshot);
    Fill(snapshot);
    if (control.kind() == ControlKind::CheckBox) {
        SendMessageW(window, BM_SETCHECK,
                     static_cast<const CheckBox&>(control).Value != 0 ? BST_CHECKED : BST_UNCHECKED,
                     0);
    }
}

const StandardControls::Entry* StandardControls::Find(const Control& control) const {
    for (const Entry& entry : entries_) {
        if (entry.control == &control) {
            return &entry;
        }
    }
    return nullptr;
}

HWND StandardControls::WindowOf(const Control& control) const {
    const Entry* entry = Find(control);
    return entry != nullptr ? entry->window : nullptr;
}

Control* StandardControls::ControlAt(HWND window) const {
    for (const Entry& entry : entries_) {
        if (window != nullptr && (entry.window == window || entry.list == window)) {
            return entry.control;
        }
    }
    return nullptr;
}

Control* StandardControls::ControlById(int id) const {
    for (const Entry& entry : entries_) {
        if (entry.id == id) {
            return entry.control;
        }
    }
    return nullptr;
}

bool StandardControls::CanTakeFocus(const Control& control) const {
    if (control.kind() == ControlKind::Frame || control.tab_index() < 0) {
        return false;
    }
    const HWND window = WindowOf(control);
    return window != nullptr && IsWindowVisible(window) && IsWindowEnabled(window);
}

HWND StandardControls::FirstInTabOrder() const {
    const Control* first = nullptr;
    for (const Entry& entry : entries_) {
        if (CanTakeFocus(*entry.control) &&
            (first == nullptr || entry.control->tab_index() < first->tab_index())) {
            first = entry.control;
        }
    }
    return first != nullptr ? WindowOf(*first) : nullptr;
}

int StandardControls::DefaultButtonId() const {
    for (const Entry& entry : entries_) {
        if (entry.control->kind() == ControlKind::CommandButton &&
            static_cast<const CommandButton&>(*entry.control).is_default() &&
            IsWindowVisible(entry.window) && IsWindowEnabled(entry.window)) {
            return entry.id;
        }
    }
    return 0;
}

void StandardControls::PressCancel() {
    for (const Entry& entry : entries_) {
        if (entry.control->kind() == ControlKind::CommandButton &&
            static_cast<const CommandButton&>(*entry.control).is_cancel() &&
            IsWindowVisible(entry.window) && IsWindowEnabled(entry.window)) {
            Command(entry.id, BN_CLICKED);
            return;
        }
    }
}

}  // namespace kivo::forms::win32
