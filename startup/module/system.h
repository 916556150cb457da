#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace kivo::startup {

using WindowHandle = std::intptr_t;

struct PixelPoint {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

struct PixelSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// A screen rectangle in pixels: left and top inside, right and bottom just outside.
struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    bool operator==(const PixelRect&) const = default;
};

// One monitor as the system reports it: its rectangle in pixels of the virtual screen (the
// primary's top-left corner is 0,0; others may stand at negative coordinates) and its dots per
// inch. The process is per-monitor DPI aware, so the rectangle is in the monitor's own pixels
// whatever its DPI.
struct Monitor {
    PixelRect area;
    std::int32_t dpi = 96;
    bool primary = false;
};

// The operating-system calls that the start-up procedure and the slide show window make. The real
// implementation calls Win32; the tests' fake records every call.
class System {
  public:
    virtual ~System() = default;

    // The per-session lock that one saver holds while it runs. TakeSaverLock takes it and keeps
    // it until LetGo: false when another process holds it. SaverLockHeld only looks: true when
    // another process holds it.
    virtual bool TakeSaverLock() = 0;
    virtual bool SaverLockHeld() = 0;
    // Lets go, at once, of what tells other programs that a saver runs here: clears the
    // screen-saver flag when this program set it and has not cleared it, and releases the lock.
    // For the program's end, which a thread waiting on a share may hold back.
    virtual void LetGo() = 0;
    // A top-level window of any class with this exact title.
    virtual bool TopLevelWindowExists(const char* title) = 0;
    // The user's "ScreenSaveUsePassword" value under "Control Panel\desktop": the 4-byte buffer as
    // a little-endian signed integer when the query succeeds (a shorter value leaves the rest 0),
    // nothing when the key cannot be opened or the query fails (absent, or longer than 4 bytes).
    virtual std::optional<std::int32_t> ReadScreenSaveUsePassword() = 0;
    virtual WindowHandle ForegroundWindow() = 0;
    // Runs the system's dialog that changes the screen-saver password, owned by `owner`. False
    // when the system has no such service.
    virtual bool ChangeScreenSaverPassword(WindowHandle owner) = 0;
    // Gives the window the child style, keeping the rest of its style, so that a parent may hold
    // it inside its client area.
    virtual void MakeChild(WindowHandle window) = 0;
    virtual void SetParent(WindowHandle child, WindowHandle parent) = 0;
    // The client-area size of a window in pixels; nothing when the handle names no window.
    virtual std::optional<PixelSize> ClientSize(WindowHandle window) = 0;
    // Keeps the window above all windows that are not topmost, without moving or sizing it.
    virtual void MakeTopmost(WindowHandle window) = 0;
    virtual void SetScreenSaverRunning(bool running) = 0;
    // Returns the pointer's new display count; the pointer shows while it is 0 or more.
    virtual int ShowCursor(bool show) = 0;
    virtual std::optional<PixelPoint> CursorPosition() = 0;
    // Asks the user for the screen-saver password. The service's result (its low 16 bits zero:
    // not verified), or nothing when the system has no such service.
    virtual std::optional<std::int32_t> VerifyScreenSaverPassword(WindowHandle window) = 0;
    virtual WindowHandle Owner(WindowHandle window) = 0;
    virtual void PostClose(WindowHandle window) = 0;

    // Every monitor of the desktop, in the system's order.
    virtual std::vector<Monitor> Monitors() = 0;
    // Makes `window` a companion of `owner`, before it is shown: owned by it, so without a taskbar
    // button or an entry in the task switcher of its own, and topmost.
    virtual void Accompany(WindowHandle window, WindowHandle owner) = 0;
    // Calls `changed` on the window thread whenever monitors are added, removed or moved or
    // their DPI changes, for as long as `owner` lives.
    virtual void WatchMonitors(WindowHandle owner, std::function<void()> changed) = 0;
    // Calls `changed` on the window thread whenever the console's displays go off (false), dim or
    // come back on (true), and once at the start with how they are, for as long as `owner` lives.
    // A system that cannot tell never calls it.
    virtual void WatchDisplays(WindowHandle owner, std::function<void(bool on)> changed) = 0;
};

}  // namespace kivo::startup
