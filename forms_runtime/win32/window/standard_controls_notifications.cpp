// The user's input on the standard controls, turned into the controls' state and events.
#include <windows.h>

#include <commctrl.h>

#include "forms_runtime/win32/wide.h"
#include "forms_runtime/win32/window/standard_controls.h"
#include "forms_runtime/win32/window/win32_form_peer.h"

namespace kivo::forms::win32 {

namespace {

// Runs an event handler of the control, if it has one.
template <typename Handler>
bool RaiseIfSet(Win32FormPeer& peer, const Handler& handler) {
    if (!handler) {
        return true;
    }
    return peer.Raise([&handler] { handler(); });
}

std::string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

}  // namespace

void StandardControls::Command(int id, int code) {
    Control* control = ControlById(id);
    HWND window = control != nullptr ? WindowOf(*control) : nullptr;
    if (window == nullptr) {
        return;
    }
    switch (control->kind()) {
        case ControlKind::CommandButton:
            if (code == BN_CLICKED) {
                RaiseIfSet(peer_, control->on_click);
            }
            break;
        case ControlKind::CheckBox:
            if (code == BN_CLICKED) {
                const bool checked = SendMessageW(window, BM_GETCHECK, 0, 0) == BST_CHECKED;
                static_cast<CheckBox*>(control)->Value.store(checked ? 1 : 0);
                RaiseIfSet(peer_, control->on_click);
            }
            break;
        case ControlKind::TextBox:
            if (code == EN_CHANGE && !updating_) {
                static_cast<TextBox*>(control)->Text.store(TextOf(window));
                RaiseIfSet(peer_, control->on_change);
            }
            break;
        case ControlKind::FileList:
            if (code == LBN_SELCHANGE) {
                const auto selected = static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0));
                static_cast<FileList*>(control)->ListIndex.store(selected);
                RaiseIfSet(peer_, control->on_click);
            } else if (code == LBN_DBLCLK) {
                RaiseIfSet(peer_, control->on_dbl_click);
            }
            break;
        case ControlKind::DirList:
            if (code == LBN_SELCHANGE) {
                static_cast<DirList*>(control)->ListIndex =
                    static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0));
            } else if (code == LBN_DBLCLK) {
                OpenFolder(*static_cast<DirList*>(control),
                           static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0)));
            }
            break;
        case ControlKind::DriveList:
            if (code == CBN_SELCHANGE) {
                PickDrive(*static_cast<DriveList*>(control),
                          static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0)));
            }
            break;
        default:
            break;
    }
}

void StandardControls::OpenFolder(DirList& list, int line) {
    const auto& lines = list.entries();
    if (line < 0 || line >= static_cast<int>(lines.size())) {
        return;
    }
    // A copy: opening the folder replaces the lines.
    const std::string folder = lines[static_cast<std::size_t>(line)].path;
    peer_.Raise([&list, &folder] { list.Path = folder; });
}

void StandardControls::PickDrive(DriveList& list, int position) {
    const auto& drives = list.drives();
    if (position < 0 || position >= static_cast<int>(drives.size())) {
        return;
    }
    // The list shows the pick until the drive answers: a drive that is not ready puts back the
    // one in effect.
    const std::string root = drives[static_cast<std::size_t>(position)].root;
    peer_.Raise([&list, &root] { list.UserPick(root); });
}

LRESULT CALLBACK StandardControls::FolderListProc(HWND window, UINT message, WPARAM wparam,
                                                  LPARAM lparam, UINT_PTR, DWORD_PTR self) {
    // Enter opens the highlighted folder, like a double click, instead of pressing the default
    // button.
    switch (message) {
        case WM_GETDLGCODE:
            if (wparam == VK_RETURN) {
                return DefSubclassProc(window, message, wparam, lparam) | DLGC_WANTMESSAGE;
            }
            break;
        case WM_KEYDOWN:
            if (wparam == VK_RETURN) {
                auto* controls = reinterpret_cast<StandardControls*>(self);
                if (auto* list = dynamic_cast<DirList*>(controls->ControlAt(window))) {
                    controls->OpenFolder(
                        *list, static_cast<int>(SendMessageW(window, LB_GETCURSEL, 0, 0)));
                }
                return 0;
            }
            break;
        case WM_CHAR:
            if (wparam == L'\r') {
                return 0;
            }
            break;
        default:
            break;
    }
    return DefSubclassProc(window, message, wparam, lparam);
}

}  // namespace kivo::forms::win32
