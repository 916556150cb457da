// Starting Kivo.scr: the window each mode opens, and that a second copy stays out of the way.
#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "kivo_test.h"

namespace kivo::e2e {
namespace {

using Corners = std::array<LONG, 4>;

Corners WindowCorners(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

long CountWhite(const RECT& area) {
    const std::vector<std::uint32_t> pixels = ScreenPixels(area);
    return std::count_if(pixels.begin(), pixels.end(),
                         [](std::uint32_t pixel) { return ColoursClose(pixel, 0xFFFFFF, 95); });
}

using StartupTest = KivoTest;

TEST_F(StartupTest, FullScreenIsABlackBorderlessTopmostWindowWithItsLabel) {
    ScopedProcess saver = StartSaver(L"600");  // no slide during the test
    EXPECT_EQ(WindowCorners(saverWindow_), (Corners{0, 0, 1024, 768}));
    EXPECT_EQ(GetWindowLongPtrW(saverWindow_, GWL_STYLE) &
                  (WS_CHILD | WS_CAPTION | WS_THICKFRAME | WS_BORDER),
              0);
    EXPECT_TRUE(WaitUntil(
        [&] { return (GetWindowLongPtrW(saverWindow_, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; }, 5s));
    EXPECT_TRUE(WaitUntil(ScreenSaverFlag, 5s));
    EXPECT_FALSE(PointerShowing());
    // Black everywhere but the label's white letters at (90, 60) twips = (6, 4) pixels.
    ASSERT_TRUE(WaitForPixel({700, 500}, 0x000000, 5s));
    EXPECT_TRUE(WaitUntil([] { return CountWhite({6, 4, 201, 23}) > 20; }, 5s)) << "no label";
    EXPECT_EQ(CountWhite({0, 0, 400, 3}) + CountWhite({210, 0, 1024, 40}), 0);
}

// The modes that make the titled window (/s, /c) take the one-saver lock; the others (/p, /a)
// only look at it. /a ends at once whether or not a saver runs, so nothing here can tell.
TEST_F(StartupTest, WhileTheSlideShowRunsAnotherStartEndsAtOnce) {
    ScopedProcess saver = StartSaver(L"600");
    for (const wchar_t* arguments : {L"/s", L"/p 1234"}) {
        EXPECT_TRUE(EndsWithoutAWindow(Launch(arguments))) << arguments;
    }
    EXPECT_TRUE(saver.running());
}

TEST_F(StartupTest, ThePreviewFillsItsHostLetsTheSlideShowStartAndEndsWithTheHost) {
    std::unique_ptr<HWND__, decltype(&DestroyWindow)> host(
        CreateWindowExW(0, L"Static", L"kivo e2e preview host",
                        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, 80, 80, 160, 120,
                        nullptr, nullptr, nullptr, nullptr),
        &DestroyWindow);
    ASSERT_NE(host, nullptr);
    ScopedProcess preview =
        Launch(L"/p " + std::to_wstring(reinterpret_cast<UINT_PTR>(host.get())));
    HWND child = nullptr;
    ASSERT_TRUE(WaitUntil(
        [&] {
            child = FindWindowExW(host.get(), nullptr, nullptr, kPreviewTitle);
            return child != nullptr && IsWindowVisible(child);
        },
        15s))
        << "no preview window shown in the host";
    EXPECT_NE(GetWindowLongPtrW(child, GWL_STYLE) & WS_CHILD, 0);
    RECT client{};
    GetClientRect(host.get(), &client);
    MapWindowPoints(host.get(), nullptr, reinterpret_cast<POINT*>(&client), 2);
    EXPECT_EQ(WindowCorners(child),
              (Corners{client.left, client.top, client.right, client.bottom}));
    EXPECT_FALSE(ScreenSaverFlag()) << "a preview is no running screen saver";

    EXPECT_NO_THROW(StartSaver(L"600")) << "the preview counted as a running copy";
    host.reset();
    EXPECT_TRUE(preview.WaitForExit(3s)) << "the preview outlived its host";
}

}  // namespace
}  // namespace kivo::e2e
