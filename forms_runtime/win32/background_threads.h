#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace kivo::forms::win32 {

// Work that may wait (the file system, a decoder) on threads of its own, each running one piece at
// a time and none waiting for another's, so that a share that never answers holds back nothing
// but its own piece; and what follows each piece, on the window's thread. A thread whose piece is
// done waits a quarter second for another before it ends: the pieces that come close together (a
// form's load asks a few quick questions and starts its readings) share threads instead of each
// paying for a new one, which under Wine takes milliseconds to start. What follows waits in a queue
// of this object's; a message without payload wakes a message-only window, which every message loop
// of the window's thread delivers to (the program's, a modal form's, a message box's, a tick's
// wait), one arrival at a time, in order: a loop that an arrival opens delivers the ones behind it.
// A wake that the system cannot post (a full queue) is posted again from the piece's thread until
// it goes: nothing is lost, and the window's thread never sleeps for it.
//
// Create it, and call everything, on the window's thread.
class BackgroundThreads {
  public:
    BackgroundThreads();
    // Pieces still running run on; what would follow them, and what waits to be delivered, is
    // dropped unrun. The threads waiting for a piece end.
    ~BackgroundThreads();
    BackgroundThreads(const BackgroundThreads&) = delete;
    BackgroundThreads& operator=(const BackgroundThreads&) = delete;

    // Runs `work` on a thread of its own, then `arrive` on the window's thread. Neither may throw.
    void Later(std::function<void()> work, std::function<void()> arrive);
    // Runs `work` on a thread of its own and waits at most `within_ms` for it to return: true
    // when it has. Otherwise it runs on unwatched. It may not throw.
    bool Briefly(std::function<void()> work, DWORD within_ms);
    // Calls `then` on the window's thread once `delay_ms` milliseconds have passed, once (as soon
    // as the loop runs where no timer is to be had).
    void After(UINT delay_ms, std::function<void()> then);
    // Whether a piece still runs: it counts until it has returned and what it captured is freed,
    // on its thread. The process must not wait for it (it may never end).
    bool Busy();
    // Asks the system to give up the call in the file system that any running piece's thread
    // waits in (a listing of a share that does not answer), so that the process can end.
    void CancelWaits();

  private:
    struct Arrivals;  // shared with the threads
    struct Crew;      // the threads, as the engine and they share them
    struct Worker;    // one thread
    // Runs `work` on a thread that waits for a piece, or else on a new one: true. False when no
    // thread could be had: then `work` has run here, to its end. It may not throw.
    bool Run(std::function<void()> work);
    static DWORD WINAPI WorkerMain(void* argument);
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void TimerFired(UINT_PTR id);
    // Forgets the threads that have ended.
    void Prune();

    std::shared_ptr<Arrivals> arrivals_;
    std::shared_ptr<Crew> crew_;
    HWND window_ = nullptr;
    std::vector<HANDLE> threads_;  // each thread, until seen ended
    std::map<UINT_PTR, std::function<void()>> timers_;
    UINT_PTR next_timer_ = 0;
};

}  // namespace kivo::forms::win32
