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
            *reinterpret_cast<int*>(counter) += WindowTitle(window) == kSaverWindowTitle;
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
};

TEST_F(MonitorsTest, ABlackCoverHidesTheSecondMonitorTakesItsClicksAndGoesOnAKey) {
    // A window of the test's own on the second monitor; the window manager may still move it
    // after it shows, so look where it is each time.
    HostWindow beneath(L"kivo e2e beneath", 300, 200, kBlue, {1200, 150});
    const auto beneath_shows = [&] {
        return WaitUntil(
            [&] { return ColoursClose(ScreenPixel(beneath.ClientCentreOnScreen()), kBlue); }, 5s);
    };
    ASSERT_TRUE(beneath_shows());

    ScopedProcess saver = folder_.Launch(L"/s");
    HWND window = WaitForSaverWindow(saver);
    ASSERT_NE(window, nullptr);
    HWND cover = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (HWND candidate : WindowsOfProcess(saver.id())) {
                const RECT rect = DescribeWindow(candidate).rect;
                if (candidate != window && IsWindowVisible(candidate) &&
                    EqualRect(&rect, &kSecondMonitor)) {
                    cover = candidate;
                }
            }
            return cover != nullptr;
        },
        5s))
        << "no window of the saver over the second monitor";
    BringToForeground(window);

    const WindowFacts facts = DescribeWindow(cover);
    EXPECT_EQ(facts.title, L"");
    EXPECT_EQ(facts.style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
    EXPECT_NE(facts.exStyle & WS_EX_TOOLWINDOW, 0) << "not in the taskbar or the task switcher";
    EXPECT_TRUE(WaitUntil([&] { return IsTopmost(cover) && IsTopmost(window); }, 5s));
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

    ClickAt(kOnSecond.x, kOnSecond.y);
    ClickAt(kOnSecond.x + 150, kOnSecond.y + 100, MouseButton::Right);
    EXPECT_FALSE(saver.WaitForExit(1s)) << "a click on the cover ended the saver";
    EXPECT_TRUE(beneath.input().empty()) << "a click went through the cover";
    EXPECT_EQ(GetForegroundWindow(), window) << "the slide show lost the keyboard";

    PressKey(VK_SHIFT);  // with the pointer over the cover
    ASSERT_TRUE(saver.WaitForExit(2s));
    EXPECT_FALSE(IsWindow(cover));
    EXPECT_TRUE(beneath_shows());
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
