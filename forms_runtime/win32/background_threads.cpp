#include "forms_runtime/win32/background_threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

#include "forms_runtime/win32/program_messages.h"

namespace kivo::forms::win32 {

namespace {

constexpr wchar_t kClassName[] = L"KivoBackgroundThreads";
// Enough for a listing's loop, the file system's own calls and a decoder's pipe; reserved, not
// committed.
constexpr SIZE_T kStackBytes = 256 * 1024;
// The longest pause between two tries to post a wake into a full queue.
constexpr DWORD kLongestRetryMs = 50;
// How long a thread whose piece is done waits for another before it ends: as long as a form's load
// may wait for its quick questions, so that the pieces of one load share threads.
constexpr auto kIdle = std::chrono::milliseconds(250);

}  // namespace

// The threads as the engine and they share them: those waiting for a piece, and the pieces not
// yet done.
struct BackgroundThreads::Crew {
    std::mutex lock;
    std::vector<Worker*> idle;  // waiting for a piece, the most recent last
    bool closed = false;        // the engine has ended: no more pieces come
    std::atomic<int> running = 0;
};

// One thread: its next piece, handed over under the crew's lock. The thread owns it.
struct BackgroundThreads::Worker {
    std::shared_ptr<Crew> crew;
    std::function<void()> piece;
    std::condition_variable handed;  // a piece was handed over, or the engine ended
};

// What has arrived for the window's thread, in the order it arrived.
struct BackgroundThreads::Arrivals {
    std::mutex lock;
    std::deque<std::function<void()>> waiting;
    bool closed = false;  // the window's side is gone: what arrives is dropped
    std::atomic<bool> wake_posted = false;
    HWND window = nullptr;
    DWORD window_thread = GetCurrentThreadId();

    // From any thread. A piece's thread tries again while the window's queue is full; the
    // window's thread itself tries once (it cannot make room by waiting), and what it added
    // then goes with the next wake.
    void Add(std::function<void()> arrive) {
        {
            const std::lock_guard<std::mutex> guard(lock);
            if (closed) {
                return;
            }
            waiting.push_back(std::move(arrive));
        }
        if (wake_posted.exchange(true)) {
            return;  // a wake on its way delivers this one too
        }
        for (DWORD pause = 1; !PostMessageW(window, kWorkArrived, 0, 0);
             pause = std::min(pause * 2, kLongestRetryMs)) {
            if (GetLastError() != ERROR_NOT_ENOUGH_QUOTA) {
                return;  // not a full queue: the window is gone, and nobody waits any more
            }
            if (GetCurrentThreadId() == window_thread) {
                wake_posted = false;
                return;
            }
            {
                const std::lock_guard<std::mutex> guard(lock);
                if (closed) {
                    return;
                }
            }
            Sleep(pause);  // the window's queue is full: what arrived waits in ours meanwhile
        }
    }

    // On the window's thread: one at a time, and before each a wake for those behind it, so
    // that a message loop that an arrival opens (a message box's) delivers them in their order.
    void DeliverAll() {
        wake_posted = false;
        for (;;) {
            std::function<void()> next;
            bool more = false;
            {
                const std::lock_guard<std::mutex> guard(lock);
                if (waiting.empty()) {
                    return;
                }
                next = std::move(waiting.front());
                waiting.pop_front();
                more = !waiting.empty();
            }
            if (more && !wake_posted.exchange(true) && !PostMessageW(window, kWorkArrived, 0, 0)) {
                wake_posted = false;  // a full queue: this loop delivers them once `next` is done
            }
            next();
        }
    }
};

BackgroundThreads::BackgroundThreads()
    : arrivals_(std::make_shared<Arrivals>()), crew_(std::make_shared<Crew>()) {
    static const ATOM atom = [] {
        WNDCLASSEXW window_class = {};
        window_class.cbSize = sizeof(window_class);
        window_class.lpfnWndProc = &BackgroundThreads::WindowProc;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = kClassName;
        return RegisterClassExW(&window_class);
    }();
    window_ = CreateWindowExW(0, MAKEINTATOM(atom), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    arrivals_->window = window_;
}

BackgroundThreads::~BackgroundThreads() {
    std::deque<std::function<void()>> dropped;  // freed here, on the window's thread
    {
        const std::lock_guard<std::mutex> guard(arrivals_->lock);
        arrivals_->closed = true;
        dropped.swap(arrivals_->waiting);
    }
    {
        // The threads waiting for a piece end now; the others once their piece is done.
        const std::lock_guard<std::mutex> guard(crew_->lock);
        crew_->closed = true;
        for (Worker* worker : crew_->idle) {
            worker->handed.notify_one();
        }
        crew_->idle.clear();
    }
    if (window_ != nullptr) {
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
    for (HANDLE thread : threads_) {
        CloseHandle(thread);
    }
}

LRESULT CALLBACK BackgroundThreads::WindowProc(HWND window, UINT message, WPARAM wparam,
                                               LPARAM lparam) {
    auto* self = reinterpret_cast<BackgroundThreads*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && message == kWorkArrived) {
        const std::shared_ptr<Arrivals> arrivals = self->arrivals_;  // an arrival may end `self`
        arrivals->DeliverAll();
        return 0;
    }
    if (self != nullptr && message == WM_TIMER) {
        self->TimerFired(wparam);
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

bool BackgroundThreads::Run(std::function<void()> work) {
    Prune();
    ++crew_->running;
    {
        const std::lock_guard<std::mutex> guard(crew_->lock);
        if (!crew_->idle.empty()) {
            Worker* worker = crew_->idle.back();
            crew_->idle.pop_back();
            worker->piece = std::move(work);
            worker->handed.notify_one();  // under the lock: the thread cannot end meanwhile
            return true;
        }
    }
    auto worker = std::make_unique<Worker>();
    worker->crew = crew_;
    worker->piece = std::move(work);
    HANDLE thread = CreateThread(nullptr, kStackBytes, &WorkerMain, worker.get(),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr) {
        // No thread to be had: the piece runs here, which only makes the window wait for it.
        std::function<void()> piece = std::move(worker->piece);
        worker.reset();
        piece();
        piece = nullptr;  // what it captured is freed before the piece stops counting
        --crew_->running;
        return false;
    }
    worker.release();  // the thread's now
    threads_.push_back(thread);
    return true;
}

DWORD WINAPI BackgroundThreads::WorkerMain(void* argument) {
    const std::unique_ptr<Worker> self(static_cast<Worker*>(argument));
    Crew& crew = *self->crew;
    for (;;) {
        {
            std::function<void()> piece = std::move(self->piece);
            self->piece = nullptr;  // empty until the next is handed over
            piece();
        }  // what it captured is freed before the piece stops counting
        --crew.running;
        std::unique_lock<std::mutex> guard(crew.lock);
        if (crew.closed) {
            return 0;
        }
        crew.idle.push_back(self.get());
        if (!self->handed.wait_for(guard, kIdle, [&] { return self->piece || crew.closed; })) {
            std::erase(crew.idle, self.get());
            return 0;
        }
        if (!self->piece) {
            return 0;  // the engine ended, and took it off the idle ones
        }
    }
}

void BackgroundThreads::Later(std::function<void()> work, std::function<void()> arrive) {
    Run([work = std::move(work), arrive = std::move(arrive), arrivals = arrivals_]() mutable {
        work();
        arrivals->Add(std::move(arrive));
    });
}

bool BackgroundThreads::Briefly(std::function<void()> work, DWORD within_ms) {
    // Set when the work has returned, not when the piece is over: a question's answer is not kept
    // waiting for what it captured to be freed. Whichever side lets go of it last closes it.
    const std::shared_ptr<void> answered(CreateEventW(nullptr, TRUE, FALSE, nullptr), CloseHandle);
    if (answered == nullptr) {
        return false;
    }
    if (!Run([work = std::move(work), answered] {
            work();
            SetEvent(answered.get());
        })) {
        return true;  // it ran here, to its end
    }
    return WaitForSingleObject(answered.get(), within_ms) == WAIT_OBJECT_0;
}

void BackgroundThreads::After(UINT delay_ms, std::function<void()> then) {
    const UINT_PTR id = ++next_timer_;
    if (SetTimer(window_, id, delay_ms, nullptr) == 0) {
        // No timer to be had: as soon as the loop runs, woken from a thread of its own, since
        // the window's thread may not wait for room in its own queue.
        Later([] {}, std::move(then));
        return;
    }
    timers_.emplace(id, std::move(then));
}

void BackgroundThreads::TimerFired(UINT_PTR id) {
    KillTimer(window_, id);
    const auto found = timers_.find(id);
    if (found == timers_.end()) {
        return;
    }
    const std::function<void()> then = std::move(found->second);
    timers_.erase(found);
    then();
}

void BackgroundThreads::Prune() {
    std::erase_if(threads_, [](HANDLE thread) {
        if (WaitForSingleObject(thread, 0) != WAIT_OBJECT_0) {
            return false;
        }
        CloseHandle(thread);
        return true;
    });
}

bool BackgroundThreads::Busy() {
    Prune();
    return crew_->running > 0;
}

void BackgroundThreads::CancelWaits() {
    for (HANDLE thread : threads_) {
        CancelSynchronousIo(thread);
    }
}

}  // namespace kivo::forms::win32
