#pragma once

#include <windows.h>

#include <atomic>
#include <exception>
#include <functional>

#include "forms_runtime/picture.h"
#include "forms_runtime/win32/picture/wic_loader.h"

namespace kivo::forms::win32 {

// Loads pictures on a thread of its own, so that the window's thread stays free for the user's
// input while a large picture is decoded. The thread starts with the first load, initialises COM
// for itself and keeps its own imaging objects; it takes one load at a time.
class DecodeThread {
  public:
    using Job = std::function<Picture(WicLoader& wic)>;

    DecodeThread() = default;
    // Ends the thread once its current load is done.
    ~DecodeThread();
    DecodeThread(const DecodeThread&) = delete;
    DecodeThread& operator=(const DecodeThread&) = delete;

    // Hands a load to the thread; the event returned is set once it is done. False when the
    // thread cannot be started: the caller loads by itself.
    bool Start(Job job, HANDLE* done);
    // The finished load's picture; its error, thrown again here.
    Picture Result();
    // A load has been handed over and its result not yet taken.
    bool busy() const { return busy_; }

  private:
    static DWORD WINAPI ThreadMain(void* self);
    void Serve();

    HANDLE thread_ = nullptr;
    HANDLE start_ = nullptr;  // auto-reset: a job is waiting, or the thread is to end
    HANDLE done_ = nullptr;   // auto-reset: the job is done
    Job job_;
    Picture result_;
    std::exception_ptr error_;
    std::atomic<bool> busy_ = false;
    std::atomic<bool> quit_ = false;
};

}  // namespace kivo::forms::win32
