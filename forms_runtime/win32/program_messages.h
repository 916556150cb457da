#pragma once

#include <windows.h>

namespace kivo::forms::win32 {

// The program's own window messages, in one table so that no two of them share a number: a
// message posted for one window must never be taken for another's by a loop that filters by
// number.
enum ProgramMessage : UINT {
    // A form window: put the next slice of a long file list into its list box (wParam: the
    // list's control id).
    kFillMoreFiles = WM_APP + 1,
    // The monitor watcher: the monitors changed (posted, so that one change is handled once).
    kMonitorsChanged = WM_APP + 2,
    // The background threads' window: work has arrived for the window's thread. No payload: what
    // arrived waits in the background threads' own queue.
    kWorkArrived = WM_APP + 3,
};

}  // namespace kivo::forms::win32
