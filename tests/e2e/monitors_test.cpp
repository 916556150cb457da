// Full screen on a display of two monitors (KIVO_E2E_MONITORS=2): 1024 x 768 at 0,0, the
// primary, and 800 x 600 at 1024,0. And one saver at a time, however close two starts come.
#include <gtest/gtest.h>

#include "kivo_test_fixture.h"

namespace kivo::e2e {
namespace {

constexpr RECT kSecondMonitor{1024, 0, 1824, 600};
constexpr POINT kOnSecond{1400, 300};
constexpr COLORREF kBlue = RGB(40, 120, 200);

int SaverWindowCount() {
    int count = 0;
    EnumWindows(
        [](HWND window, LPARAM counter) {
            if (WindowTitle(window) == kSaverWindowTitle) {
                ++*reinterpret_cast<int*>(counter);
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&count));
    return count;
}

class MonitorsTest : public KivoTest {
  protected:
    MonitorsTest() {
        StoreSetting(kIntervalValue, L"600");  // no slide during the test
        MoveCursorTo(700, 600);                // over the primary's black area
    }

    // A window of the test's own on the second monitor, for the cover to hide.
    void ShowWindowBeneath() {
        beneath_ =
            std::make_unique<HostWindow>(L"kivo e2e beneath", 300, 200, kBlue, POINT{1200, 150});
        ASSERT_TRUE(BeneathShows());
    }

    // The window manager may still move the window after it shows: look where it is now.
    bool BeneathShows() const {
        return WaitUntil(
            [&] { return ColoursClose(ScreenPixel(beneath_->ClientCentreOnScreen()), kBlue); }, 5s);
    }

    // Starts the saver and waits for its cover over the second monitor.
    void StartSaver() {
        saver_ = std::make_unique<ScopedProcess>(folder_.Launch(L"/s"));
        window_ = WaitForSaverWindow(*saver_);
        ASSERT_NE(window_, nullptr);
        ASSERT_TRUE(WaitUntil(
            [&] {
                for (HWND window : WindowsOfProcess(saver_->id())) {
                    const RECT rect = DescribeWindow(window).rect;
                    if (window != window_ && IsWindowVisible(window) &&
                        EqualRect(&rect, &kSecondMonitor)) {
                        cover_ = window;
                        return true;
                    }
                }
                return false;
            },
            5s))
            << "no window of the saver over the second monitor";
        BringToForeground(window_);
    }

    std::unique_ptr<HostWindow> beneath_;
    std::unique_ptr<ScopedProcess> saver_;
    HWND window_ = nullptr;
    HWND cover_ = nullptr;
};

TEST_F(MonitorsTest, ABlackCoverHidesTheSecondMonitorUntilAKeyEndsTheSaver) {
    ShowWindowBeneath();
    StartSaver();
    const WindowFacts facts = DescribeWindow(cover_);
    EXPECT_EQ(facts.title, L"");
    EXPECT_EQ(facts.style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
    EXPECT_NE(facts.exStyle & WS_EX_TOOLWINDOW, 0) << "not in the taskbar or the task switcher";
    EXPECT_TRUE(WaitUntil([&] { return IsTopmost(cover_); }, 5s));
    EXPECT_TRUE(
        WaitUntil([] { return ShareOfColour(ScreenPixels(kSecondMonitor), 0, 4) > 0.999; }, 5s))
        << "the second monitor reads " << ColourText(ScreenPixel(kOnSecond));

    MoveCursorTo(kOnSecond.x, kOnSecond.y);
    EXPECT_TRUE(WaitUntil(
        [] {
            CURSORINFO cursor{};
            cursor.cbSize = sizeof cursor;
            return GetCursorInfo(&cursor) && (cursor.flags & CURSOR_SHOWING) == 0 &&
                   cursor.hCursor == nullptr;
        },
        3s))
        << "the pointer shows over the cover";

    PressKey(VK_SHIFT);
    ASSERT_TRUE(saver_->WaitForExit(2s));
    EXPECT_FALSE(IsWindow(cover_));
    EXPECT_TRUE(BeneathShows());
}

TEST_F(MonitorsTest, AClickOnTheCoverEndsNothingAndReachesNothingBeneath) {
    ShowWindowBeneath();
    StartSaver();
    ClickAt(kOnSecond.x, kOnSecond.y);
    MoveCursorTo(kOnSecond.x + 150, kOnSecond.y + 100);
    ClickAt(kOnSecond.x + 150, kOnSecond.y + 100, MouseButton::Right);
    EXPECT_FALSE(saver_->WaitForExit(1s));
    EXPECT_TRUE(beneath_->input().empty()) << "a click went through the cover";
    EXPECT_EQ(GetForegroundWindow(), window_) << "the slide show lost the keyboard";

    PressKey(VK_SPACE);  // still ends it
    EXPECT_TRUE(saver_->WaitForExit(2s));
}

TEST_F(MonitorsTest, OfTwoStartsTogetherOneShowsAndAKeyEndsIt) {
    for (int run = 0; run < 20; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        ScopedProcess first = folder_.Launch(L"/s");
        ScopedProcess second = folder_.Launch(L"/s");
        int most = 0;
        ScopedProcess* shown = nullptr;
        WaitUntil(
            [&] {
                most = std::max(most, SaverWindowCount());
                if (first.running() != second.running()) {
                    shown = first.running() ? &first : &second;
                }
                return shown != nullptr && most > 0;
            },
            15s);
        EXPECT_LE(most, 1) << "two saver windows at once";
        ASSERT_NE(shown, nullptr) << "not exactly one copy kept running";
        HWND window = WaitForSaverWindow(*shown, 5s);
        ASSERT_NE(window, nullptr);
        BringToForeground(window);
        PressKey(VK_SHIFT);
        ASSERT_TRUE(shown->WaitForExit(3s)) << "the key did not end it";
        WaitForNoSaverTitle();
    }
}

}  // namespace
}  // namespace kivo::e2e
