// The one-saver lock over Win32: a look (/p, /a) sees a saver that holds it, and never makes a
// saver that starts meanwhile fail.
#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "startup/win32/win32_system.h"

namespace kivo::test {
namespace {

TEST(SaverLockTest, ALookSeesTheHolderAndNeverMakesAStartFail) {
    startup::Win32System looker;
    std::atomic<bool> starting = true;
    auto looks = std::async(std::launch::async, [&] {
        while (starting) {
            looker.SaverLockHeld();
        }
    });
    int failed = 0;
    for (int i = 0; i < 2000; ++i) {  // a look that held the lock would fail some of them
        startup::Win32System saver;
        failed += !saver.TakeSaverLock();
        saver.LetGo();
    }
    starting = false;
    looks.get();
    EXPECT_EQ(failed, 0);
    startup::Win32System saver;
    ASSERT_TRUE(saver.TakeSaverLock());
    EXPECT_TRUE(looker.SaverLockHeld());
    saver.LetGo();
    EXPECT_FALSE(looker.SaverLockHeld());
}

}  // namespace
}  // namespace kivo::test
