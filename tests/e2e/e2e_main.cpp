// Entry point of the end-to-end tests. GoogleTest's output goes out as plain "\n" lines
// (ctest's test discovery reads them through Wine), and every test starts and ends with the
// shared screen-saver flag cleared, whatever an earlier saver left behind.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

#include <gtest/gtest.h>

#include "support/screen.h"

namespace {

class ScreenSaverFlagReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        kivo::e2e::ClearScreenSaverRunningFlag();
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        kivo::e2e::ClearScreenSaverRunningFlag();
    }
};

}  // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScreenSaverFlagReset);
    return RUN_ALL_TESTS();
}
