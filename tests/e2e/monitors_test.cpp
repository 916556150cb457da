// Full screen on a display of two monitors (KIVO_E2E_MONITORS=2): 1024 x 768 at 0,0, the
// primary, and 800 x 600 at 1024,0. And one saver at a time, however close two starts come.
#include <algorithm>
#include <vector>

#include "kivo_test.h"

namespace kivo::e2e {
namespace {

constexpr RECT kSecondMonitor{1024, 0, 1824, 600};
constexpr POINT kOnSecond{1400, 300};

// The saver's window that stands exactly over the second monitor, on top there; else null.
HWND CoverOf(DWORD process) {
    const HWND window = WindowFromPoint(kOnSecond);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    RECT rect{};
    GetWindowRect(window, &rect);
    return owner == process && EqualRect(&rect, &kSecondMonitor) ? window : nullptr;
}

int SaverWindowCount() {
    int count = 0;
    for (HWND window = nullptr;
         (window = FindWindowExW(nullptr, window, nullptr, kSaverTitle)) != nullptr;) {
        ++count;
    }
    return count;
}

bool SecondMonitorBlack() {
    const std::vector<std::uint32_t> pixels = ScreenPixels(kSecondMonitor);
    const auto black = std::count_if(pixels.begin(), pixels.end(),
                                     [](std::uint32_t pixel) { return ColoursClose(pixel, 0, 4); });
    return black > static_cast<long>(pixels.size()) * 999 / 1000;
}

using MonitorsTest = KivoTest;

TEST_F(MonitorsTest, ABlackCoverHidesTheSecondMonitorTakesItsClicksAndGoesOnAKey) {
    ScopedProcess saver = StartSaver(L"600", {700, 600});  // no slide during the test
    HWND cover = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (cover = CoverOf(saver.id())) != nullptr; }, 5s))
        << "no window of the saver over the second monitor";

    EXPECT_EQ(GetWindowTextLengthW(cover), 0) << "a cover carries no title";
    EXPECT_EQ(GetWindowLongPtrW(cover, GWL_STYLE) & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
    EXPECT_NE(GetWindowLongPtrW(cover, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0)
        << "not in the taskbar or the task switcher";
    EXPECT_TRUE(WaitUntil([&] { return Topmost(cover) && Topmost(saverWindow_); }, 5s));
    EXPECT_TRUE(WaitUntil(SecondMonitorBlack, 5s));

    MoveCursorTo(kOnSecond);
    EXPECT_TRUE(WaitUntil([] { return !PointerShowing(); }, 3s)) << "the pointer shows";
    ClickButton();
    EXPECT_FALSE(saver.WaitForExit(1s)) << "a click on the cover ended the saver";
    EXPECT_EQ(GetForegroundWindow(), saverWindow_) << "the slide show lost the keyboard";

    PressKey(VK_SHIFT);  // with the pointer over the cover
    ASSERT_TRUE(saver.WaitForExit(2s));
    EXPECT_FALSE(IsWindow(cover));
}

TEST_F(MonitorsTest, OfTwoStartsTogetherOneShowsAndAKeyEndsIt) {
    for (int run = 0; run < 20; ++run) {
        SCOPED_TRACE("run " + std::to_string(run));
        WaitForNoKivoWindow();
        ScopedProcess first = Launch(L"/s");
        ScopedProcess second = Launch(L"/s");
        int most = 0;
        const ScopedProcess* shown = nullptr;
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
        HWND window = WaitForWindowOf(shown->id(), kSaverTitle);
        ASSERT_NE(window, nullptr);
        SetForegroundWindow(window);
        WaitUntil([&] { return GetForegroundWindow() == window; }, 3s);
        PressKey(VK_SHIFT);
        ASSERT_TRUE(shown->WaitForExit(3s)) << "the key did not end it";
    }
}

}  // namespace
}  // namespace kivo::e2e
