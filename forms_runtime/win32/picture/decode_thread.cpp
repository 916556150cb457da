#include "forms_runtime/win32/picture/decode_thread.h"

#include <objbase.h>

#include <utility>

namespace kivo::forms::win32 {

DecodeThread::~DecodeThread() {
    if (thread_ != nullptr) {
        GiveUp();
        quit_ = true;
        SetEvent(start_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    for (HANDLE event : {start_, done_, give_up_}) {
        if (event != nullptr) {
            CloseHandle(event);
        }
    }
}

HANDLE DecodeThread::Start(Job job, std::function<void()> finished) {
    if (busy_) {
        return nullptr;
    }
    if (thread_ == nullptr) {
        for (HANDLE* event : {&start_, &done_}) {
            if (*event == nullptr) {
                *event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
            }
        }
        if (give_up_ == nullptr) {
            give_up_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        }
        if (start_ == nullptr || done_ == nullptr || give_up_ == nullptr) {
            return nullptr;
        }
        thread_ = CreateThread(nullptr, 0, &DecodeThread::ThreadMain, this, 0, nullptr);
        if (thread_ == nullptr) {
            return nullptr;
        }
    }
    job_ = std::move(job);
    finished_ = std::move(finished);
    result_ = nullptr;
    error_ = nullptr;
    ResetEvent(give_up_);
    ResetEvent(done_);  // a load that nobody waited for left it set
    busy_ = true;
    SetEvent(start_);
    return done_;
}

Picture DecodeThread::Result() {
    busy_ = false;
    job_ = nullptr;
    finished_ = nullptr;
    if (error_) {
        std::rethrow_exception(std::exchange(error_, nullptr));
    }
    return std::exchange(result_, nullptr);
}

void DecodeThread::GiveUp() {
    if (give_up_ != nullptr) {
        SetEvent(give_up_);
    }
}

DWORD WINAPI DecodeThread::ThreadMain(void* self) {
    static_cast<DecodeThread*>(self)->Serve();
    return 0;
}

void DecodeThread::Serve() {
    const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    {
        WicLoader wic;
        for (;;) {
            WaitForSingleObject(start_, INFINITE);
            if (quit_) {
                break;
            }
            try {
                result_ = job_(wic, give_up_);
            } catch (...) {
                error_ = std::current_exception();  // handed to the waiting thread
            }
            // Read before the event: once it is set, the window's thread may take the result
            // and hand out the next job.
            const std::function<void()> finished = finished_;
            SetEvent(done_);
            if (finished) {
                finished();
            }
        }
    }
    if (com) {
        CoUninitialize();
    }
}

}  // namespace kivo::forms::win32
