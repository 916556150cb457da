#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

#include "forms_runtime/basics/picture.h"
#include "forms_runtime/win32/picture/wic_loader.h"

namespace kivo::forms::win32 {

// Loads pictures on a thread of its own, so that the window's thread stays free for the user
// while a picture is decoded. The thread starts with the first load, initialises COM for itself
// and keeps its own imaging objects; it takes one load at a time, and no load ever runs anywhere
// else.
class DecodeThread {
  public:
    // A load. `give_up` is an event set when the load is no longer wanted: a load that waits
    // (for the decoder helper) stops waiting then and fails.
    using Job = std::function<Picture(WicLoader& wic, HANDLE give_up)>;

    DecodeThread() = default;
    // Gives up the current load and ends the thread once it has returned.
    ~DecodeThread();
    DecodeThread(const DecodeThread&) = delete;
    DecodeThread& operator=(const DecodeThread&) = delete;

    // Hands a load to the thread, which calls `finished` (on that thread) once it is done. The
    // event returned is set then too. Null when the thread is busy or cannot be started.
    HANDLE Start(Job job, std::function<void()> finished = {});
    // The finished load's picture; its error, thrown again here.
    Picture Result();
    // Tells the current load that it is no longer wanted.
    void GiveUp();
    // A load has been handed over and its result not yet taken.
    bool busy() const { return busy_; }

  private:
    static DWORD WINAPI ThreadMain(void* self);
    void Serve();

    HANDLE thread_ = nullptr;
    HANDLE start_ = nullptr;    // auto-reset: a job is waiting, or the thread is to end
    HANDLE done_ = nullptr;     // auto-reset: the job is done
    HANDLE give_up_ = nullptr;  // manual reset: the job is no longer wanted
    Job job_;
    std::function<void()> finished_;
    Picture result_;
    std::exception_ptr error_;
    std::atomic<bool> busy_ = false;
    std::atomic<bool> quit_ = false;
};

}  // namespace kivo::forms::win32
