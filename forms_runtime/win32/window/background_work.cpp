#include "forms_runtime/win32/window/background_work.h"

#include <utility>

namespace kivo::forms::win32 {

namespace {

constexpr wchar_t kClassName[] = L"KivoBackgroundWork";
constexpr UINT kRunPosted = WM_APP + 0x4B;
// Enough for a listing's loop and the file system's own calls; reserved, not committed.
constexpr SIZE_T kStackBytes = 256 * 1024;

// A piece of work and its thread's share in the count of running pieces.
struct Piece {
    std::function<void()> run;
    std::shared_ptr<std::atomic<int>> running;
};

DWORD WINAPI RunPiece(void* argument) {
    std::unique_ptr<Piece> piece(static_cast<Piece*>(argument));
    piece->run();
    --*piece->running;
    return 0;
}

}  // namespace

BackgroundWork::BackgroundWork() {
    static const ATOM atom = [] {
        WNDCLASSEXW window_class = {};
        window_class.cbSize = sizeof(window_class);
        window_class.lpfnWndProc = &BackgroundWork::WindowProc;
        window_class.hInstance = GetModuleHandleW(nullptr);
        window_class.lpszClassName = kClassName;
        return RegisterClassExW(&window_class);
    }();
    window_ = CreateWindowExW(0, MAKEINTATOM(atom), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
}

BackgroundWork::~BackgroundWork() {
    if (window_ != nullptr) {
        DestroyWindow(window_);
        // What was posted and not yet delivered is released here, unrun.
        MSG message;
        while (PeekMessageW(&message, nullptr, kRunPosted, kRunPosted, PM_REMOVE)) {
            delete reinterpret_cast<std::function<void()>*>(message.lParam);
        }
    }
}

BackgroundWork::Poster BackgroundWork::poster() const {
    Poster poster;
    poster.window_ = window_;
    poster.alive_ = alive_;
    return poster;
}

void BackgroundWork::Poster::operator()(std::function<void()> then) const {
    // A window of a later BackgroundWork may come to have this one's handle: what is posted
    // checks that its own is still there.
    auto* posted = new std::function<void()>([then = std::move(then), alive = alive_] {
        if (alive.lock() != nullptr) {
            then();
        }
    });
    if (!PostMessageW(window_, kRunPosted, 0, reinterpret_cast<LPARAM>(posted))) {
        delete posted;  // the window's thread is gone: nobody waits for it
    }
}

LRESULT CALLBACK BackgroundWork::WindowProc(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
    if (message != kRunPosted) {
        return DefWindowProcW(window, message, wparam, lparam);
    }
    const std::unique_ptr<std::function<void()>> then(
        reinterpret_cast<std::function<void()>*>(lparam));
    (*then)();
    return 0;
}

void BackgroundWork::Spawn(std::function<void()> run) {
    ++*running_;
    auto piece = std::make_unique<Piece>(Piece{std::move(run), running_});
    HANDLE thread = CreateThread(nullptr, kStackBytes, &RunPiece, piece.get(),
                                 STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr) {
        // No thread to be had: the piece runs here, which only makes the window wait for it.
        RunPiece(piece.release());
        return;
    }
    piece.release();  // the thread's now
    CloseHandle(thread);
}

void BackgroundWork::RunLater(std::function<void()> work, std::function<void()> then) {
    Spawn([work = std::move(work), then = std::move(then), post = poster()]() mutable {
        work();
        post(std::move(then));
    });
}

bool BackgroundWork::RunBriefly(std::function<void()> work, DWORD within_ms) {
    HANDLE finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (finished == nullptr) {
        return false;
    }
    // The event outlives a wait that gives up: the thread sets it and closes it last.
    HANDLE thread_side = nullptr;
    DuplicateHandle(GetCurrentProcess(), finished, GetCurrentProcess(), &thread_side, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    if (thread_side == nullptr) {
        CloseHandle(finished);
        return false;
    }
    Spawn([work = std::move(work), thread_side] {
        work();
        SetEvent(thread_side);
        CloseHandle(thread_side);
    });
    const bool done = WaitForSingleObject(finished, within_ms) == WAIT_OBJECT_0;
    CloseHandle(finished);
    return done;
}

}  // namespace kivo::forms::win32
