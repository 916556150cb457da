#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>

#include "forms_runtime/application.h"
#include "forms_runtime/backend.h"
#include "forms_runtime/basics/later_slot.h"
#include "forms_runtime/pixels/pixel_scale.h"
#include "forms_runtime/win32/window/back_buffer.h"
#include "forms_runtime/win32/window/brush_cache.h"
#include "forms_runtime/win32/window/form_timers.h"
#include "forms_runtime/win32/window/standard_controls.h"
#include "forms_runtime/win32/window/windowless_layer.h"

namespace kivo::forms::win32 {

// The resource identifier of the executable's icon group.
inline constexpr int kApplicationIconId = 1;

// A form's top-level window: it mirrors the form's state and turns the user's input into the
// form's events, each through the application.
class Win32FormPeer : public FormPeer {
  public:
    // Creates the window (hidden) and the windows of the form's standard controls.
    explicit Win32FormPeer(Form& form);
    ~Win32FormPeer() override;
    Win32FormPeer(const Win32FormPeer&) = delete;
    Win32FormPeer& operator=(const Win32FormPeer&) = delete;

    std::intptr_t Handle() const override { return reinterpret_cast<std::intptr_t>(window_); }
    FrameInsets Insets() const override;
    void FormChanged(FormProperty what) override;
    void ControlChanged(Control& control, ControlProperty what) override;
    void Show(bool modal) override;
    void Destroy() override;
    void Loaded() override;
    TextExtent MeasureText(const Control& control, const std::string& text) override;

    // Runs one event through the application. False when the form's window is gone afterwards:
    // the form may have been released with it, so the caller touches nothing of it any more.
    bool Raise(const std::function<void()>& handler);

    Form& form() const { return form_; }
    HWND window() const { return window_; }
    const PixelScale& scale() const { return scale_; }
    BrushCache& brushes() { return brushes_; }
    // The window that windowless controls of `container` are painted on.
    HWND SurfaceOf(const Control* container) const;
    // The control whose window this is, or nullptr.
    Control* ControlOfWindow(HWND window) const;
    // Draws a frame's surface into `dc`: its background, then its group box (`draw_box`), then
    // its windowless controls.
    void DrawFrame(HDC dc, HWND frame_window, const Control& frame, const RECT& dirty,
                   const std::function<void(HDC dc)>& draw_box);
    // Paints a frame (WM_PAINT) through a buffer of its own.
    void PaintFrame(HWND frame_window, const Control& frame,
                    const std::function<void(HDC dc)>& draw_box);
    // Mouse input on a surface: only images under the pointer receive it.
    void SurfaceMouse(const Control* container, UINT message, WPARAM flags, LPARAM position);

    // The peer of one of the program's form windows, or nullptr.
    static Win32FormPeer* FromWindow(HWND window);
    // Gives the dialog keyboard (Tab, Enter, Esc, arrows) of the form that holds the message's
    // window its chance at a key message; true when it took the message.
    static bool TranslateDialogKey(MSG& message);

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT OnMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    // Each handler below gives the answer to a message of its kind, or none for the system's
    // default answer (after what the handler did) and for a message of another kind.
    // Keys, the mouse, the controls' notifications, activation.
    std::optional<LRESULT> OnInput(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    // Painting, the controls' colours, owner-drawn items.
    std::optional<LRESULT> OnPainting(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    // The window's own life: closing, destruction, moves, timers, a file list's next files.
    std::optional<LRESULT> OnWindow(UINT message, WPARAM wparam, LPARAM lparam);
    void CreateFormWindow();
    void RunModal();
    bool OnKey(WPARAM key);
    void OnDestroy();
    void OnMoved(const WINDOWPOS& position);
    void OnActivate(bool active);
    void PaintSurface(HDC dc, const RECT& dirty);
    LRESULT OnControlColor(HDC dc, HWND control_window);

    Form& form_;
    Application& app_;
    PixelScale scale_;
    HWND window_ = nullptr;
    DWORD style_ = 0;
    DWORD ex_style_ = 0;
    BrushCache brushes_;
    WindowlessLayer layer_;
    FormTimers timers_;
    BackBuffer buffer_;
    std::map<HWND, std::unique_ptr<BackBuffer>> frame_buffers_;
    std::unique_ptr<StandardControls> controls_;
    Image* pressed_ = nullptr;  // the image the left button went down on
    HWND last_focus_ = nullptr;
    bool shown_ = false;
    bool destroying_ = false;
    bool moving_ = false;
    LaterSlot life_;  // its tickets tell a caller whether this peer is still there
};

}  // namespace kivo::forms::win32
