// The standard controls' windows follow their controls' state: place, contents, selection,
// text, check mark, visibility.
#include <windows.h>

#include <algorithm>

#include "forms_runtime/win32/program_messages.h"
#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/standard_controls.h"
#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32 {

namespace {

// A drop-down list's window also holds its opened list: room for about a dozen lines.
constexpr int kDropDownListPixels = 200;
// Names a file list's window takes at a time. Under Wine a slice costs more the longer the list
// already is: a thousand stays below a tenth of a second with a million names.
constexpr int kFilesPerSlice = 1000;

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

std::string StandardControls::CaptionOf(const Control& control) {
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
            const int count = static_cast<const FileList&>(*entry.control).ListCount();
            SendMessageW(window, LB_RESETCONTENT, 0, 0);
            SendMessageW(window, LB_INITSTORAGE, static_cast<WPARAM>(count),
                         static_cast<LPARAM>(count) * 48);
            entry.filled = 0;
            FillFiles(entry);
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

void StandardControls::FillFiles(const Entry& entry) {
    const auto& list = static_cast<const FileList&>(*entry.control);
    const int end = std::min(list.ListCount(), entry.filled + kFilesPerSlice);
    SendMessageW(entry.window, WM_SETREDRAW, FALSE, 0);
    for (; entry.filled < end; ++entry.filled) {
        SendMessageW(entry.window, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(Widen(list.List(entry.filled)).c_str()));
    }
    SendMessageW(entry.window, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(entry.window, nullptr, TRUE);
    if (entry.filled < list.ListCount()) {
        PostMessageW(peer_.window(), kFillMoreFiles, static_cast<WPARAM>(entry.id), 0);
    }
}

void StandardControls::FillMore(int id) {
    for (const Entry& entry : entries_) {
        if (entry.id == id && entry.control->kind() == ControlKind::FileList) {
            const int before = entry.filled;
            FillFiles(entry);
            if (before < entry.filled) {
                Select(entry);  // the selected name may be among those just added
            }
        }
    }
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

}  // namespace kivo::forms::win32
