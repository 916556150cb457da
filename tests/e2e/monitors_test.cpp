// Full screen on a display of two monitors (KIVO_E2E_MONITORS=2): 1024 x 768 at 0,0, the
// primary, and 800 x 600 at 1024,0.
#include <algorithm>
#include <vector>

#include "kivo_test.h"

namespace kivo::e2e {
namespace {

constexpr RECT kPrimaryMonitor{0, 0, 1024, 768};
constexpr RECT kSecondMonitor{1024, 0, 1824, 600};
constexpr POINT kOnSecond{1424, 300};      // the middle: on either picture
constexpr POINT kBlackOnSecond{1074, 50};  // beside either picture
constexpr std::uint32_t kRed = 0xDC1E1E;   // a wide picture
constexpr std::uint32_t kBlue = 0x1E3CDC;  // a tall one

// The saver's window that stands exactly over the second monitor, on top there; else null.
HWND WindowOnSecond(DWORD process) {
    const HWND window = WindowFromPoint(kOnSecond);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    RECT rect{};
    GetWindowRect(window, &rect);
    return owner == process && EqualRect(&rect, &kSecondMonitor) ? window : nullptr;
}

// The colour's picture on that monitor, as its middle row and column show it: its width and
// height in pixels, 0 x 0 when the middle is another colour.
SIZE PictureOn(const RECT& monitor, std::uint32_t colour) {
    const LONG middle_x = (monitor.left + monitor.right) / 2;
    const LONG middle_y = (monitor.top + monitor.bottom) / 2;
    const auto run = [colour](const std::vector<std::uint32_t>& line) {
        return static_cast<LONG>(std::count_if(line.begin(), line.end(), [colour](auto pixel) {
            return ColoursClose(pixel, colour, 24);
        }));
    };
    return {run(ScreenPixels({monitor.left, middle_y, monitor.right, middle_y + 1})),
            run(ScreenPixels({middle_x, monitor.top, middle_x + 1, monitor.bottom}))};
}

// Whether each monitor shows one of the two pictures, not the same one, each fitted to its own
// monitor: the wide one as wide as the monitor, the tall one as tall.
bool DifferentPicturesFittedToEachMonitor() {
    const auto is = [](const RECT& monitor, std::uint32_t colour, LONG width, LONG height) {
        const SIZE size = PictureOn(monitor, colour);
        return size.cx == width && size.cy == height;
    };
    return (is(kPrimaryMonitor, kRed, 1024, 512) && is(kSecondMonitor, kBlue, 300, 600)) ||
           (is(kPrimaryMonitor, kBlue, 384, 768) && is(kSecondMonitor, kRed, 800, 400));
}

using MonitorsTest = KivoTest;

// Each monitor shows slides of its own, through a window of the saver that no title names and
// that input ends the saver through as the first window does.
TEST_F(MonitorsTest, EachMonitorShowsItsOwnSlideAndItsPictureTakesTheClickThatEnds) {
    AddPicture(L"red.bmp", test::SolidBmp(2000, 1000, kRed));
    AddPicture(L"blue.bmp", test::SolidBmp(1000, 2000, kBlue));
    for (const bool key : {false, true}) {
        SCOPED_TRACE(key ? "a key" : "clicks");
        ScopedProcess saver = StartSaver(L"1");
        HWND second = nullptr;
        ASSERT_TRUE(WaitUntil([&] { return (second = WindowOnSecond(saver.id())) != nullptr; }, 5s))
            << "no window of the saver over the second monitor";
        EXPECT_EQ(GetWindowTextLengthW(second), 0);
        EXPECT_NE(GetWindowLongPtrW(second, GWL_EXSTYLE) & WS_EX_TOOLWINDOW, 0)
            << "not in the taskbar or the task switcher";
        EXPECT_TRUE(WaitUntil([&] { return Topmost(second) && Topmost(saverWindow_); }, 5s));
        EXPECT_TRUE(WaitUntil(DifferentPicturesFittedToEachMonitor, 10s));

        MoveCursorTo(kBlackOnSecond);
        EXPECT_TRUE(WaitUntil([] { return !PointerShowing(); }, 3s)) << "the pointer shows";
        if (key) {
            PressKey(VK_SHIFT);  // with the pointer over the second monitor
        } else {
            ClickButton();
            EXPECT_FALSE(saver.WaitForExit(1s)) << "a click beside the picture ended the saver";
            MoveCursorTo(kOnSecond);
            ClickButton();
        }
        ASSERT_TRUE(saver.WaitForExit(3s));
        EXPECT_FALSE(IsWindow(second));
    }
}

}  // namespace
}  // namespace kivo::e2e
