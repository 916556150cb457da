// The background threads as the window's thread meets them: what a piece brings arrives however
// full the thread's queue was, and a piece counts as running until its thread has ended.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>

#include "forms_runtime/win32/background_threads.h"

namespace kivo::test {
namespace {

using forms::win32::BackgroundThreads;

constexpr UINT kCounted = WM_USER + 1;
int counted = 0;  // kCounted messages delivered to the counting window

LRESULT CALLBACK Counting(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kCounted) {
        ++counted;
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

// Delivers the thread's waiting messages, then more as they come until `done`, for ten seconds
// at most.
bool DeliverUntil(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        if (done() || std::chrono::steady_clock::now() >= until) {
            return done();
        }
        Sleep(1);
    }
}

// Holds back its thread's end until released: a piece's captures are freed last, on its thread.
struct HeldAtTheEnd {
    explicit HeldAtTheEnd(HANDLE release) : release(release) {}
    ~HeldAtTheEnd() { WaitForSingleObject(release, INFINITE); }
    HANDLE release;
};

TEST(BackgroundThreadsTest, WhatAPieceBringsArrivesOnceBehindTenThousandPostedMessages) {
    WNDCLASSW counting_class = {};
    counting_class.lpfnWndProc = Counting;
    counting_class.hInstance = GetModuleHandleW(nullptr);
    counting_class.lpszClassName = L"KivoTestCounting";
    RegisterClassW(&counting_class);
    HWND counter = CreateWindowW(L"KivoTestCounting", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(counter, nullptr);
    HANDLE finish = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    BackgroundThreads threads;
    int arrived = 0;
    threads.Later([finish] { WaitForSingleObject(finish, INFINITE); }, [&arrived] { ++arrived; });
    // The queue fills up (Windows takes 10,000 messages at most), then the piece ends.
    counted = 0;
    int posted = 0;
    while (posted < 10000 && PostMessageW(counter, kCounted, 0, 0)) {
        ++posted;
    }
    SetEvent(finish);
    for (int i = 0; i < 200 && threads.Busy(); ++i) {
        Sleep(10);  // where its wake could not be posted, the piece waits for room
    }
    EXPECT_TRUE(DeliverUntil([&] { return arrived > 0 && counted == posted; }))
        << arrived << " arrivals, " << counted << " of " << posted << " messages";
    DeliverUntil([] { return true; });  // what else waits: nothing arrives twice
    EXPECT_EQ(arrived, 1);
    DestroyWindow(counter);
    CloseHandle(finish);
}

TEST(BackgroundThreadsTest, APieceCountsAsRunningUntilItsThreadHasEnded) {
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    BackgroundThreads threads;
    bool arrived = false;
    threads.Later([held = std::make_shared<HeldAtTheEnd>(release)] {},
                  [&arrived] { arrived = true; });
    ASSERT_TRUE(DeliverUntil([&] { return arrived; }));
    EXPECT_TRUE(threads.Busy()) << "what it captured is still being freed on its thread";
    SetEvent(release);
    EXPECT_TRUE(DeliverUntil([&] { return !threads.Busy(); }));
    CloseHandle(release);
}

}  // namespace
}  // namespace kivo::test
