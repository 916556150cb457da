// The one-saver lock over Win32: a look (/p, /a) sees whether a saver holds it, and never makes a
// saver that starts meanwhile fail.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "startup/win32/win32_system.h"

namespace kivo::test {
namespace {

using startup::Win32System;

TEST(SaverLockTest, ALookSeesTheHolderAndNeverMakesAStartFail) {
    Win32System looker;
    std::atomic<bool> starting = true;
    std::thread looks([&] {
        while (starting) {
            looker.SaverLockHeld();
        }
    });
    int failed = 0;
    for (int i = 0; i < 2000; ++i) {  // a look that held the lock would fail some of them
        Win32System saver;
        failed += !saver.TakeSaverLock();
        saver.LetGo();
    }
    starting = false;
    looks.join();
    EXPECT_EQ(failed, 0);

    Win32System saver;
    EXPECT_FALSE(looker.SaverLockHeld());
    ASSERT_TRUE(saver.TakeSaverLock());
    EXPECT_TRUE(looker.SaverLockHeld());
    EXPECT_FALSE(std::async(std::launch::async, [] {
                     return Win32System().TakeSaverLock();
                 }).get());  // held: kept
    saver.LetGo();
    EXPECT_FALSE(looker.SaverLockHeld());
}

}  // namespace
}  // namespace kivo::test
