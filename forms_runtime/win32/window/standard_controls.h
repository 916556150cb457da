#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "forms_runtime/controls/controls.h"
#include "forms_runtime/form.h"

namespace kivo::forms::win32 {

class Win32FormPeer;

// The windowed controls of a form as the system's standard controls (edit, buttons, check box,
// group box, list boxes, drop-down list), so that screen readers and automation can read them.
// A frame's controls are child windows of its group box.
class StandardControls {
  public:
    // Creates the windows, each container's in tab order so that Tab follows it.
    explicit StandardControls(Win32FormPeer& peer);
    ~StandardControls();
    StandardControls(const StandardControls&) = delete;
    StandardControls& operator=(const StandardControls&) = delete;

    // The control's window; nullptr for a control without one.
    HWND WindowOf(const Control& control) const;
    // The control a window belongs to (a drop-down's list included), or nullptr.
    Control* ControlAt(HWND window) const;
    Control* ControlById(int id) const;
    bool Any() const { return !entries_.empty(); }

    void Mirror(Control& control, ControlProperty what);
    // A long file list goes into its window a slice at a time, so that the dialog answers between
    // the slices: while it still has names to take, kFillMoreFiles is posted to the form's window,
    // which calls this.
    void FillMore(int id);
    // The control that takes the focus first: the lowest tab index among those that can.
    HWND FirstInTabOrder() const;
    // The default button's identifier when it can be pressed, or 0.
    int DefaultButtonId() const;
    // Esc: presses the cancel button when it can be pressed.
    void PressCancel();

    // Notifications (WM_COMMAND) of the controls, turned into their events.
    void Command(int id, int code);
    // The folder list draws its lines itself: indented, with a folder sign each.
    static int FolderLineHeight();
    void DrawItem(const DRAWITEMSTRUCT& item) const;

  private:
    struct Entry {
        Control* control = nullptr;
        HWND window = nullptr;
        HWND list = nullptr;  // a drop-down's list
        int id = 0;
        mutable int filled = 0;  // a file list's names its window holds so far
    };

    // The text a control's window shows: a caption, or a text box's text.
    static std::string CaptionOf(const Control& control);
    void CreateChildren(const Control* container, HWND parent);
    void Create(Control& control, HWND parent);
    const Entry* Find(const Control& control) const;
    void Place(const Entry& entry);
    void Fill(const Entry& entry);
    void FillFiles(const Entry& entry);
    void Select(const Entry& entry);
    void OpenFolder(DirList& list, int line);
    void PickDrive(DriveList& list, int position);
    bool CanTakeFocus(const Control& control) const;

    static LRESULT CALLBACK FolderListProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                           UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                      UINT_PTR id, DWORD_PTR self);
    static LRESULT CALLBACK TextBoxProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                        UINT_PTR id, DWORD_PTR self);

    Win32FormPeer& peer_;
    std::vector<Entry> entries_;
    bool updating_ = false;  // our own change of a text box's text, not the user's
};

}  // namespace kivo::forms::win32
