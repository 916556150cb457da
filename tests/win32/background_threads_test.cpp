#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "forms_runtime/win32/background_threads.h"

namespace kivo::test {
namespace {

using forms::win32::BackgroundThreads;

constexpr UINT kFiller = WM_APP + 1;  // posted to the thread itself
int fillers_delivered = 0;

// Delivers messages until `done`, for ten seconds at most.
bool DeliverUntil(const std::function<bool()>& done) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            fillers_delivered += message.message == kFiller;
            DispatchMessageW(&message);
        }
        if (done() || std::chrono::steady_clock::now() >= until) {
            return done();
        }
        Sleep(1);
    }
}

TEST(BackgroundThreadsTest, WhatAPieceBringsArrivesOnceBehindTenThousandPostedMessages) {
    HANDLE finish = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    BackgroundThreads threads;
    int arrived = 0;
    threads.Later([finish] { WaitForSingleObject(finish, INFINITE); }, [&arrived] { ++arrived; });
    // The queue fills up (Windows takes 10,000 messages at most), then the piece ends.
    fillers_delivered = 0;
    int posted = 0;
    while (posted < 10000 && PostThreadMessageW(GetCurrentThreadId(), kFiller, 0, 0)) {
        ++posted;
    }
    SetEvent(finish);
    for (int i = 0; i < 200 && threads.Busy(); ++i) {
        Sleep(10);  // where its wake could not be posted, the piece waits for room
    }
    EXPECT_TRUE(DeliverUntil([&] { return arrived > 0 && fillers_delivered == posted; }))
        << arrived << " arrivals, " << fillers_delivered << " of " << posted << " messages";
    DeliverUntil([] { return true; });  // what else waits: nothing arrives twice
    EXPECT_EQ(arrived, 1);
    CloseHandle(finish);
}

TEST(BackgroundThreadsTest, ALoopThatAnArrivalOpensDeliversTheArrivalsWaitingBehindIt) {
    BackgroundThreads threads;
    std::string events;
    // The first arrival opens a loop of its own, as a message box does, until the next arrives.
    threads.Later([] {},
                  [&events] {
                      events += "box ";
                      DeliverUntil([&events] { return events.ends_with("next "); });
                      events += "closed ";
                  });
    while (threads.Busy()) {
        Sleep(1);  // the first has arrived before the next piece starts
    }
    threads.Later([] {}, [&events] { events += "next "; });
    while (threads.Busy()) {
        Sleep(1);  // both wait, behind one wake
    }
    EXPECT_TRUE(DeliverUntil([&events] { return events.ends_with("closed "); }));
    DeliverUntil([] { return true; });
    EXPECT_EQ(events, "box next closed ");
}

TEST(BackgroundThreadsTest, APieceCountsAsRunningUntilWhatItCapturedIsFreed) {
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    BackgroundThreads threads;
    bool arrived = false;
    // What the piece captured is freed last, on its thread: here, not before the release.
    const auto waits = [](HANDLE event) { WaitForSingleObject(event, INFINITE); };
    threads.Later([held = std::shared_ptr<void>(release, waits)] {},
                  [&arrived] { arrived = true; });
    ASSERT_TRUE(DeliverUntil([&] { return arrived; }));
    EXPECT_TRUE(threads.Busy()) << "what it captured is still being freed on its thread";
    SetEvent(release);
    EXPECT_TRUE(DeliverUntil([&] { return !threads.Busy(); }));
    CloseHandle(release);
}

// Three pieces finish in the order 2, 0, 1, each only once the one before has ended, what it
// brings queued; nothing is delivered meanwhile.
TEST(BackgroundThreadsTest, WhatThePiecesBringArrivesInTheOrderTheyFinished) {
    BackgroundThreads threads;
    std::vector<HANDLE> go;
    std::atomic<DWORD> thread_ids[3] = {};
    std::vector<int> arrived;
    for (int piece = 0; piece < 3; ++piece) {
        go.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        threads.Later(
            [&thread_ids, event = go.back(), piece] {
                thread_ids[piece] = GetCurrentThreadId();
                WaitForSingleObject(event, INFINITE);
            },
            [&arrived, piece] { arrived.push_back(piece); });
    }
    for (const int piece : {2, 0, 1}) {
        while (thread_ids[piece] == 0) {
            Sleep(1);
        }
        HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, thread_ids[piece]);
        SetEvent(go[piece]);
        ASSERT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
        CloseHandle(thread);
    }
    EXPECT_TRUE(DeliverUntil([&] { return arrived.size() == 3; }));
    EXPECT_EQ(arrived, (std::vector<int>{2, 0, 1}));
    for (HANDLE event : go) {
        CloseHandle(event);
    }
}

}  // namespace
}  // namespace kivo::test
