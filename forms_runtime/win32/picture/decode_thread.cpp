#include "forms_runtime/win32/picture/decode_thread.h"

#include <objbase.h>

#include <utility>

namespace kivo::forms::win32 {

DecodeThread::~DecodeThread() {
    if (thread_ != nullptr) {
        quit_ = true;
        SetEvent(start_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
    }
    for (HANDLE event : {start_, done_}) {
        if (event != nullptr) {
            CloseHandle(event);
        }
    }
}

bool DecodeThread::Start(Job job, HANDLE* done) {
    if (busy_) {
        return false;
    }
    if (thread_ == nullptr) {
        if (start_ == nullptr) {
            start_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        }
        if (done_ == nullptr) {
            done_ = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        }
        if (start_ == nullptr || done_ == nullptr) {
            return false;
        }
        thread_ = CreateThread(nullptr, 0, &DecodeThread::ThreadMain, this, 0, nullptr);
        if (thread_ == nullptr) {
            return false;
        }
    }
    job_ = std::move(job);
    result_ = nullptr;
    error_ = nullptr;
    busy_ = true;
    SetEvent(start_);
    *done = done_;
    return true;
}

Picture DecodeThread::Result() {
    busy_ = false;
    job_ = nullptr;
    if (error_) {
        std::rethrow_exception(std::exchange(error_, nullptr));
    }
    return std::exchange(result_, nullptr);
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
                result_ = job_(wic);
            } catch (...) {
                error_ = std::current_exception();  // handed to the waiting thread
            }
            SetEvent(done_);
        }
    }
    if (com) {
        CoUninitialize();
    }
}

}  // namespace kivo::forms::win32
