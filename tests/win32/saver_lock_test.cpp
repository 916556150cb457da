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
    const auto take = [] { return startup::Win32System().TakeSaverLock(); };
    EXPECT_FALSE(std::async(std::launch::async, take).get()) << "two savers at once";
    saver.LetGo();
    EXPECT_FALSE(looker.SaverLockHeld());
}

// The error path ends a full-screen saver without its input's steps: its end clears the flag.
TEST(SaverLockTest, TheEndClearsTheScreenSaverFlagThatTheSaverSet) {
    const auto running = [] {
        BOOL flag = FALSE;
        SystemParametersInfoW(SPI_GETSCREENSAVERRUNNING, 0, &flag, 0);
        return flag != FALSE;
    };
    startup::Win32System saver;
    saver.SetScreenSaverRunning(true);
    ASSERT_TRUE(running());
    saver.LetGo();
    EXPECT_FALSE(running());
}

}  // namespace
}  // namespace kivo::test
