#pragma once

#include <windows.h>

#include <functional>

namespace kivo::forms::win32 {

// Delivers one message to its window, through the dialog keyboard of the form that holds it.
void DeliverMessage(MSG& message);

// Shows a message box. While one is open, timer ticks are skipped: an error path's box is never
// followed by another from a timer.
int ShowMessageBox(HWND owner, const wchar_t* prompt, const wchar_t* title, UINT style);
bool MessageBoxShowing();

// Waits until `done` (a load's thread) is set, for a timer event. Every message is delivered
// meanwhile (the user's input, close requests, a host's messages, keys that the covers post,
// readings that arrive), each followed by `after_message`, so that a key still ends the program
// at once; only ticks and paints are held, even in a message loop that a delivered message opens
// (a password box), since the timer event is only half done.
void WaitForLoad(HANDLE done, const std::function<void()>& after_message);

// Whether a timer event now would come too early: a message box is open, or a timer event is
// waiting for a load.
bool TimerEventsHeld();
// A timer event waits for a load: the screen still shows what it showed before that event, and
// the user's input is meant for that.
bool TickSuspended();
// Called for WM_PAINT while a tick is suspended: the window's invalid area is put aside, and
// invalidated again once the load is over.
void HoldPaint(HWND window);

}  // namespace kivo::forms::win32
