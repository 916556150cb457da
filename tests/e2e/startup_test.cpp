// Starting Kivo.scr from the command line: which window each mode opens, and that a second copy
// stays out of the way.
#include <gtest/gtest.h>

#include "kivo_test_fixture.h"

namespace kivo::e2e {
namespace {

bool IsWhiteish(COLORREF colour) {
    return GetRValue(colour) > 160 && GetGValue(colour) > 160 && GetBValue(colour) > 160;
}

class StartupTest : public KivoTest {};

TEST_F(StartupTest, FullScreenIsABlackBorderlessTopmostWindowWithItsLabel) {
    StoreSetting(kIntervalValue, L"600");  // no slide during the test
    folder_.AddPicture(L"red.bmp", 50, 50, RGB(255, 0, 0));
    ScopedProcess saver = folder_.Launch(L"/s");
    HWND window = WaitForSaverWindow(saver);
    ASSERT_NE(window, nullptr) << "no window titled ScreenSaver ボール(Sample)";

    const WindowFacts facts = DescribeWindow(window);
    EXPECT_EQ(facts.rect.left, 0);
    EXPECT_EQ(facts.rect.top, 0);
    EXPECT_EQ(facts.rect.right, 1024);
    EXPECT_EQ(facts.rect.bottom, 768);
    EXPECT_EQ(facts.style & (WS_CAPTION | WS_THICKFRAME | WS_BORDER), 0);
    EXPECT_EQ(facts.parent, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return IsTopmost(window); }, 5s));
    EXPECT_TRUE(WaitUntil([] { return ScreenSaverRunningFlag(); }, 5s));

    // Black everywhere but the label's white letters at (90, 60) twips = (6, 4) pixels.
    ASSERT_TRUE(WaitForPixel({700, 500}, RGB(0, 0, 0), 5s));
    EXPECT_TRUE(WaitUntil(
        [] {
            const auto label = ScreenPixels(RECT{6, 4, 201, 23});
            return std::count_if(label.begin(), label.end(), IsWhiteish) > 20;
        },
        5s))
        << "no white text where the label stands";
    const auto above = ScreenPixels(RECT{0, 0, 400, 3});
    EXPECT_EQ(std::count_if(above.begin(), above.end(), IsWhiteish), 0);
    const auto right = ScreenPixels(RECT{210, 0, 1024, 40});
    EXPECT_GT(ShareOfColour(right, RGB(0, 0, 0), 4), 0.99);

    CURSORINFO cursor{};
    cursor.cbSize = sizeof cursor;
    ASSERT_TRUE(GetCursorInfo(&cursor));
    EXPECT_EQ(cursor.flags & CURSOR_SHOWING, 0u) << "the pointer is hidden";
}

TEST_F(StartupTest, WhileTheSlideShowRunsAnotherStartEndsAtOnce) {
    StoreSetting(kIntervalValue, L"600");
    ScopedProcess saver = folder_.Launch(L"/s");
    ASSERT_NE(WaitForSaverWindow(saver), nullptr);

    for (const wchar_t* arguments : {L"/s", L"/c", L"/p 1234", L"/a 1234"}) {
        SCOPED_TRACE(Narrow(arguments));
        ScopedProcess second = folder_.Launch(arguments);
        ASSERT_TRUE(second.WaitForExit(5s)) << "the second copy kept running";
        EXPECT_TRUE(WindowsOfProcess(second.id()).empty());
    }
    EXPECT_TRUE(saver.running());
    WindowQuery titled;
    titled.title = kSaverWindowTitle;
    EXPECT_EQ(FindMatchingWindow(titled), WaitForSaverWindow(saver, 1s));
}

TEST_F(StartupTest, UnknownModeEndsWithoutAWindow) {
    ScopedProcess process = folder_.Launch(L"/x");
    ASSERT_TRUE(process.WaitForExit(5s));
    EXPECT_EQ(process.exitCode(), std::optional<DWORD>(0));
    WindowQuery titled;
    titled.title = kSaverWindowTitle;
    titled.visibleOnly = false;
    EXPECT_EQ(FindMatchingWindow(titled), nullptr);
}

TEST_F(StartupTest, PreviewIsAChildThatFillsItsHost) {
    HostWindow host(L"kivo e2e preview host", 152, 112, RGB(40, 120, 200));
    ScopedProcess preview = LaunchPreview(host);
    HWND child = WaitForPreviewWindow(preview);
    ASSERT_NE(child, nullptr) << "no preview window";

    const WindowFacts facts = DescribeWindow(child);
    EXPECT_EQ(facts.parent, host.hwnd());
    EXPECT_NE(facts.style & WS_CHILD, 0);
    const RECT hostClient = host.ClientOnScreen();
    EXPECT_EQ(facts.rect.left, hostClient.left);
    EXPECT_EQ(facts.rect.top, hostClient.top);
    EXPECT_EQ(facts.rect.right, hostClient.right);
    EXPECT_EQ(facts.rect.bottom, hostClient.bottom);
    EXPECT_FALSE(ScreenSaverRunningFlag()) << "a preview is no running screen saver";
}

TEST_F(StartupTest, WhileOnlyAPreviewRunsTheSlideShowStarts) {
    StoreSetting(kIntervalValue, L"600");
    HostWindow host(L"kivo e2e preview host 2", 152, 112, RGB(40, 120, 200));
    ScopedProcess preview = LaunchPreview(host);
    ASSERT_NE(WaitForPreviewWindow(preview), nullptr);

    ScopedProcess saver = folder_.Launch(L"/s");
    EXPECT_NE(WaitForSaverWindow(saver), nullptr);
}

}  // namespace
}  // namespace kivo::e2e
