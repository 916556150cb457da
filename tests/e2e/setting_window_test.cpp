// The settings dialog's window as it opens: where it stands, its size, its controls' places, the
// control that has the keyboard, its icon and its colours.
#include <gtest/gtest.h>

#include <algorithm>

#include "setting_dialog.h"
#include "window_probe.h"

namespace kivo::e2e {
namespace {

bool IsWhiteish(COLORREF colour) {
    return GetRValue(colour) > 160 && GetGValue(colour) > 160 && GetBValue(colour) > 160;
}

class SettingWindowTest : public SettingDialogTest {};

TEST_F(SettingWindowTest, OpensAboveAndLeftOfThePointerWithItsDesignClientSize) {
    ScopedProcess process = OpenDialog({500, 400});
    const WindowFacts facts = DescribeWindow(dialog_);
    EXPECT_EQ(facts.title, kSaverWindowTitle);
    // 180 pixels before the pointer on each axis.
    EXPECT_EQ(facts.rect.left, 320);
    EXPECT_EQ(facts.rect.top, 220);
    // 8025 x 4635 twips.
    EXPECT_EQ(facts.clientSize.cx, 535);
    EXPECT_EQ(facts.clientSize.cy, 309);
    EXPECT_EQ(facts.parent, nullptr);
    EXPECT_NE(facts.exStyle & WS_EX_TOOLWINDOW, 0) << "a tool window";
    EXPECT_EQ(facts.style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
    EXPECT_FALSE(facts.topmost);
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog_; }, 3s))
        << "the new dialog has the keyboard";
}

TEST_F(SettingWindowTest, NearTheScreenEdgeItStaysOnTheScreen) {
    ScopedProcess process = OpenDialog({1020, 760});
    const WindowFacts facts = DescribeWindow(dialog_);
    EXPECT_EQ(facts.rect.right, 1024);
    EXPECT_EQ(facts.rect.bottom, 768);
}

struct Placement {
    const char* name;
    HWND DialogWindows::*window;
    RECT layout;     // pixels in the dialog's client area
    bool ownHeight;  // a drop-down list's closed height follows its font, not the layout
};

TEST_F(SettingWindowTest, EveryWindowedControlStandsAtItsLayoutPlace) {
    ScopedProcess process = OpenDialog();
    const Placement placements[] = {
        {"chkFile", &DialogWindows::showName, LayoutPixels(2400, 150, 1575, 375), false},
        {"cmdCancel", &DialogWindows::cancel, LayoutPixels(6720, 4080, 1185, 465), false},
        {"cmdOK", &DialogWindows::ok, LayoutPixels(5610, 4080, 945, 465), false},
        {"txtSecond", &DialogWindows::interval, LayoutPixels(1170, 210, 645, 315), false},
        {"frmFolder", &DialogWindows::frame, LayoutPixels(0, 660, 7905, 3315), false},
        {"File", &DialogWindows::files, LayoutPixels(2430, 690, 3105, 2430, true), false},
        {"Dir", &DialogWindows::folders, LayoutPixels(180, 1080, 2205, 1980, true), false},
        {"Drive", &DialogWindows::drives, LayoutPixels(180, 720, 2205, 300, true), true},
    };
    for (const Placement& placement : placements) {
        SCOPED_TRACE(placement.name);
        HWND window = windows_.*placement.window;
        ASSERT_NE(window, nullptr) << "no window for the control";
        EXPECT_TRUE(IsWindowVisible(window));
        const RECT actual = RectInClient(window, dialog_);
        const RECT& expected = placement.layout;
        EXPECT_EQ(actual.left, expected.left) << Narrow(RectText(actual));
        EXPECT_EQ(actual.top, expected.top) << Narrow(RectText(actual));
        EXPECT_EQ(actual.right, expected.right) << Narrow(RectText(actual));
        if (placement.ownHeight) {
            EXPECT_GE(actual.bottom - actual.top, 16) << Narrow(RectText(actual));
            EXPECT_LE(actual.bottom, LayoutPixels(180, 1080, 1, 1, true).top)
                << "the closed drive list reaches into the folder list";
        } else {
            EXPECT_EQ(actual.bottom, expected.bottom) << Narrow(RectText(actual));
        }
    }
    // The lists belong to the frame: they move with it.
    EXPECT_EQ(GetAncestor(windows_.files, GA_PARENT), windows_.frame);
    EXPECT_EQ(GetAncestor(windows_.folders, GA_PARENT), windows_.frame);
    EXPECT_EQ(GetAncestor(windows_.drives, GA_PARENT), windows_.frame);
}

TEST_F(SettingWindowTest, TheDriveListHasTheKeyboardWhenTheDialogOpens) {
    ScopedProcess process = OpenDialog();
    ASSERT_NE(windows_.drives, nullptr);
    EXPECT_TRUE(WaitUntil([&] { return FocusOfThreadOf(dialog_) == windows_.drives; }, 3s))
        << "the focus is on a " << Narrow(WindowClassName(FocusOfThreadOf(dialog_))) << " titled "
        << Narrow(WindowTitle(FocusOfThreadOf(dialog_)));
}

TEST_F(SettingWindowTest, TabVisitsTheControlsInTheirOrderAndComesRoundAgain) {
    ScopedProcess process = OpenDialog();
    ASSERT_TRUE(WaitUntil([&] { return FocusOfThreadOf(dialog_) == windows_.drives; }, 3s));
    const std::pair<const char*, HWND> order[] = {
        {"the folder list", windows_.folders},   {"the file list", windows_.files},
        {"the interval box", windows_.interval}, {"OK", windows_.ok},
        {"キャンセル", windows_.cancel},         {"the check box", windows_.showName},
        {"the drive list", windows_.drives},
    };
    for (const auto& [name, window] : order) {
        PressKey(VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return FocusOfThreadOf(dialog_) == window; }, 3s))
            << "Tab did not reach " << name << "; the focus is on a "
            << Narrow(WindowClassName(FocusOfThreadOf(dialog_)));
    }
    KeyDown(VK_SHIFT);
    PressKey(VK_TAB);
    KeyUp(VK_SHIFT);
    EXPECT_TRUE(WaitUntil([&] { return FocusOfThreadOf(dialog_) == windows_.showName; }, 3s))
        << "Shift+Tab goes back";
}

TEST_F(SettingWindowTest, TheDarkIntervalBoxNeverFlashesWhiteAsTheDialogOpens) {
    ScopedProcess process = OpenDialog();
    RECT box = RectInClient(windows_.interval, dialog_);
    InflateRect(&box, -3, -3);
    MapWindowPoints(dialog_, nullptr, reinterpret_cast<POINT*>(&box), 2);
    int white_frames = 0;
    int frames = 0;
    const auto end = std::chrono::steady_clock::now() + 600ms;
    while (std::chrono::steady_clock::now() < end) {
        ++frames;
        if (ShareOfColour(ScreenPixels(box), RGB(255, 255, 255)) > 0.5) {
            ++white_frames;
        }
    }
    EXPECT_EQ(white_frames, 0) << "white in " << white_frames << " of " << frames << " looks";
}

TEST_F(SettingWindowTest, TheFocusComesBackToItsControlWhenTheDialogIsActiveAgain) {
    ScopedProcess process = OpenDialog();
    ClickOn(windows_.interval);
    ASSERT_TRUE(WaitUntil([&] { return FocusOfThreadOf(dialog_) == windows_.interval; }, 3s));

    // The user clicks another window, then the dialog's bare surface below the frame.
    HostWindow other(L"kivo e2e other window", 200, 100, RGB(40, 120, 200), {20, 20});
    const POINT elsewhere = other.ClientCentreOnScreen();
    Click(elsewhere);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == other.hwnd(); }, 3s));
    POINT bare{100, 290};
    ClientToScreen(dialog_, &bare);
    Click(bare);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog_; }, 3s));
    EXPECT_TRUE(WaitUntil([&] { return FocusOfThreadOf(dialog_) == windows_.interval; }, 3s))
        << "the focus went to a " << Narrow(WindowClassName(FocusOfThreadOf(dialog_)));
    // And the keyboard still works there: Enter is OK.
    PressKey(VK_RETURN);
    EXPECT_TRUE(process.WaitForExit(5s));
}

TEST_F(SettingWindowTest, TheWindowCarriesTheProgramsIconInBothSizes) {
    ScopedProcess process = OpenDialog();
    WindowProbe probe(dialog_);
    const auto icons = probe.ReadIcons();
    ASSERT_TRUE(icons.has_value()) << "the probe in the dialog's process did not answer";
    EXPECT_EQ(icons->big, 32u) << "the large icon (WM_GETICON ICON_BIG)";
    EXPECT_EQ(icons->small, 16u) << "the small icon (WM_GETICON ICON_SMALL)";
}

// Waits until more than `least` whitish pixels show in a rectangle of the dialog's client area.
bool WaitForWhiteIn(HWND dialog, RECT area, int least) {
    MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&area), 2);
    return WaitUntil(
        [&] {
            const auto pixels = ScreenPixels(area);
            return std::count_if(pixels.begin(), pixels.end(), IsWhiteish) > least;
        },
        3s);
}

TEST_F(SettingWindowTest, DarkSurfaceWithWhiteCaptionsAndText) {
    ScopedProcess process = OpenDialog();
    // The captions, white on the black surface (waiting for the first paint).
    EXPECT_TRUE(WaitForWhiteIn(dialog_, LayoutPixels(120, 270, 1020, 180), 10))
        << "the caption 切り替え時間";
    EXPECT_TRUE(WaitForWhiteIn(dialog_, LayoutPixels(1890, 270, 180, 180), 3)) << "the caption 秒";
    EXPECT_TRUE(WaitForWhiteIn(dialog_, LayoutPixels(0, 660, 2000, 240), 10))
        << "the frame's caption";
    EXPECT_TRUE(WaitForWhiteIn(dialog_, LayoutPixels(6240, 930, 945, 285, true), 10))
        << "the caption プレビュー";

    const auto black_at = [this](int x, int y) {
        POINT point{x, y};
        ClientToScreen(dialog_, &point);
        return ColoursClose(ScreenPixel(point), RGB(0, 0, 0));
    };
    // Bare surface: below the frame, and inside the frame right of the file list.
    EXPECT_TRUE(black_at(100, 290));
    EXPECT_TRUE(black_at(380, 70));
    EXPECT_TRUE(black_at(530, 100));

    // The interval box and the check box: white on black.
    RECT box = RectInClient(windows_.interval, dialog_);
    InflateRect(&box, -3, -3);
    EXPECT_TRUE(WaitForWhiteIn(dialog_, box, 3)) << "the interval's text is white";
    MapWindowPoints(dialog_, nullptr, reinterpret_cast<POINT*>(&box), 2);
    EXPECT_TRUE(WaitUntil([&] { return ShareOfColour(ScreenPixels(box), RGB(0, 0, 0)) > 0.6; }, 3s))
        << "the interval box is dark";

    RECT check = RectInClient(windows_.showName, dialog_);
    EXPECT_TRUE(WaitForWhiteIn(dialog_, check, 10)) << "the check box's caption is white";
    MapWindowPoints(dialog_, nullptr, reinterpret_cast<POINT*>(&check), 2);
    EXPECT_GT(ShareOfColour(ScreenPixels(check), RGB(0, 0, 0)), 0.5)
        << "the check box stands on black";
}

}  // namespace
}  // namespace kivo::e2e
