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
// A drop-down list's window also holds its opened list: room for about a dozen lines.
constexpr int kDropDownListPixels = 200;

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

std::string CaptionOf(const Control& control) {
    switch (control.kind()) {
        case ControlKind::CommandButton:
            return static_cast<const CommandButton&>(control).Caption;
        case ControlKind::CheckBox:
            return static_cast<const CheckBox&>(control).Caption;
        case ControlKind::Frame:
            return static_cast<const Frame&>(control).Caption;
        case ControlKind::TextBox:
            return static_cast<const TextBox&>(control).Text;
        default:
            return {};
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

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
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

void StandardControls::Place(const Entry& entry) {
    const Control& control = *entry.control;
    const PixelScale& scale = peer_.scale();
    int height = scale.Y(control.Height);
    if (control.kind() == ControlKind::DriveList) {
        height += kDropDownListPixels;
    }
    SetWindowPos(entry.window, nullptr, scale.X(control.Left), scale.Y(control.Top),
                 scale.X(control.Width), height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void StandardControls::Fill(const Entry& entry) {
    HWND window = entry.window;
    switch (entry.control->kind()) {
        case ControlKind::FileList: {
            const auto& list = static_cast<const FileList&>(*entry.control);
            SendMessageW(window, WM_SETREDRAW, FALSE, 0);
            SendMessageW(window, LB_RESETCONTENT, 0, 0);
            SendMessageW(window, LB_INITSTORAGE, static_cast<WPARAM>(list.ListCount()),
                         static_cast<LPARAM>(list.ListCount()) * 64);
            for (int i = 0; i < list.ListCount(); ++i) {
                SendMessageW(window, LB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(Widen(list.List(i)).c_str()));
            }
            SendMessageW(window, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(window, nullptr, TRUE);
            break;
        }
        case ControlKind::DirList: {
            const auto& list = static_cast<const DirList&>(*entry.control);
            SendMessageW(window, WM_SETREDRAW, FALSE, 0);
            SendMessageW(window, LB_RESETCONTENT, 0, 0);
            for (const FolderListEntry& line : list.entries()) {
                SendMessageW(window, LB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(Widen(line.label).c_str()));
            }
            SendMessageW(window, WM_SETREDRAW, TRUE, 0);
            InvalidateRect(window, nullptr, TRUE);
            break;
        }
        case ControlKind::DriveList: {
            const auto& list = static_cast<const DriveList&>(*entry.control);
            SendMessageW(window, CB_RESETCONTENT, 0, 0);
            for (const DriveInfo& drive : list.drives()) {
                SendMessageW(
                    window, CB_ADDSTRING, 0,
                    reinterpret_cast<LPARAM>(Widen(DriveList::DisplayText(drive)).c_str()));
            }
            break;
        }
        default:
            return;
    }
    Select(entry);
}

void StandardControls::Select(const Entry& entry) {
    HWND window = entry.window;
    switch (entry.control->kind()) {
        case ControlKind::FileList:
            SendMessageW(
                window, LB_SETCURSEL,
                static_cast<WPARAM>(static_cast<const FileList&>(*entry.control).ListIndex.get()),
                0);
            break;
        case ControlKind::DirList:
            SendMessageW(window, LB_SETCURSEL,
                         static_cast<WPARAM>(static_cast<const DirList&>(*entry.control).ListIndex),
                         0);
            break;
        case ControlKind::DriveList: {
            const auto& list = static_cast<const DriveList&>(*entry.control);
            const auto& drives = list.drives();
            const auto found =
                std::find_if(drives.begin(), drives.end(),
                             [&list](const DriveInfo& d) { return d.root == list.Drive.get(); });
            const auto position = found == drives.end() ? -1 : found - drives.begin();
            SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(position), 0);
            break;
        }
        default:
            break;
    }
}

void StandardControls::Mirror(Control& control, ControlProperty what) {
    const Entry* entry = Find(control);
    if (entry == nullptr || entry->window == nullptr) {
        return;
    }
    HWND window = entry->window;
    const bool loses_focus = GetFocus() == window || IsChild(window, GetFocus());
    switch (what) {
        case ControlProperty::Geometry:
            Place(*entry);
            break;
        case ControlProperty::Visible:
            if (!control.Visible && loses_focus) {
                SetFocus(GetNextDlgTabItem(peer_.window(), window, FALSE));
            }
            ShowWindow(window, control.Visible ? SW_SHOWNA : SW_HIDE);
            break;
        case ControlProperty::Enabled:
            if (!control.Enabled && loses_focus) {
                SetFocus(GetNextDlgTabItem(peer_.window(), window, FALSE));
            }
            EnableWindow(window, control.Enabled ? TRUE : FALSE);
            break;
        case ControlProperty::Colors:
            InvalidateRect(window, nullptr, TRUE);
            if (entry->list != nullptr) {
                InvalidateRect(entry->list, nullptr, TRUE);
            }
            break;
        case ControlProperty::Caption:
        case ControlProperty::Text: {
            const std::wstring text = Widen(CaptionOf(control));
            if (WindowText(window) != text) {
                updating_ = true;
                SetWindowTextW(window, text.c_str());
                updating_ = false;
            }
            break;
        }
        case ControlProperty::Value:
            SendMessageW(window, BM_SETCHECK,
                         static_cast<CheckBox&>(control).Value != 0 ? BST_CHECKED : BST_UNCHECKED,
                         0);
            break;
        case ControlProperty::List:
            Fill(*entry);
            break;
        case ControlProperty::Selection:
            Select(*entry);
            break;
        default:
            break;
    }
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
