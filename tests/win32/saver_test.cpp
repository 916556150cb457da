// The real slide show window over the Win32 backend: its frame, its windowless painting, the
// mouse by hit test in twips, its end from outside, and the keys, clicks and close requests that
// end it while a tick waits for its picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "tests/common/picture_bytes.h"
#include "tests/win32/form_test.h"

namespace kivo::test {
namespace {

using saver_window::frmScreenSaver;
using SaverTest = FormTest;

constexpr std::uint32_t kRed = 0xFF0000;
constexpr std::uint32_t kBlue = 0x0000FF;

TEST_F(SaverTest, ABorderlessPopupOfTheWholeWindowThatIsUnloadedWhenDestroyedFromOutside) {
    frmScreenSaver& saver = LoadSaver();
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(WindowOf(saver), GWL_STYLE));
    EXPECT_EQ(style & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_VISIBLE), DWORD{WS_POPUP});
    RECT client;
    GetClientRect(WindowOf(saver), &client);
    EXPECT_EQ(client.right, scale.X(saver.Width));  // the outer width
    EXPECT_EQ(client.bottom, scale.Y(saver.Height));
    DestroyWindow(WindowOf(saver));  // as a host ends the preview it holds
    EXPECT_TRUE(app.forms().empty());
}

TEST_F(SaverTest, WindowlessControlsTakeTheMouseInTwipsAndPaintInCreationOrderCutAtTheirEdges) {
    pictures.Write("halves.bmp", Bmp(40, 20, [](int x, int) { return x < 20 ? kRed : kBlue; }));
    frmScreenSaver& saver = LoadSaver();
    Tick(saver);
    const HWND window = WindowOf(saver);
    const RECT picture = Bounds(saver.Imager);
    const LPARAM black = MAKELPARAM(picture.left - 5, picture.top - 5);
    SendMessageW(window, WM_MOUSEMOVE, 0, black);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, black);
    EXPECT_EQ(module.MouseSeen, 0) << "the black area takes nothing";
    ASSERT_TRUE(app.AnyFormLoaded());
    SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(picture.left + 10, picture.top + 5));
    EXPECT_EQ(module.LastMouseX, static_cast<std::int32_t>(scale.TwipsX(10)));
    EXPECT_EQ(module.LastMouseY, static_cast<std::int32_t>(scale.TwipsY(5)));

    saver.Label.Move(saver.Imager.Left, saver.Imager.Top);  // the file name under the picture
    EXPECT_EQ(Snapshot(window).Bright(picture), 0) << "the picture, created later, on top";
    saver.Imager.Move(scale.TwipsX(-20), saver.Imager.Top);  // its left half outside the window
    saver.Label.Caption = std::string(80, 'W');              // far wider than the label
    const Snapshot painted(window);
    EXPECT_EQ(painted.At(0, picture.top), kBlue);
    EXPECT_EQ(painted.At(19, picture.bottom - 1), kBlue);
    EXPECT_EQ(painted.At(20, picture.top), 0u);
    const RECT label = Bounds(saver.Label);
    EXPECT_GT(painted.Bright(label), 5);
    EXPECT_EQ(painted.Bright(RECT{label.right, label.top, painted.width, label.bottom}), 0);
}

// The system's password check: `during` stands for its dialog; then "not verified".
struct CheckingSystem : startup::Win32System {
    std::optional<std::int32_t> VerifyScreenSaverPassword(startup::WindowHandle) override {
        during();
        return 0;
    }
    std::function<void()> during;
};

// The screen's pixel at the middle of the window, as its paints left it.
std::uint32_t MiddleOnScreen(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, client.right / 2, client.bottom / 2);
    ReleaseDC(window, dc);
    return (GetRValue(pixel) << 16) | (GetGValue(pixel) << 8) | GetBValue(pixel);
}

TEST_F(SaverTest, APasswordCheckDuringATickLoadRunsNoTickAndPaintsNoHalfDoneSlide) {
    pictures.Write("slide.png", SlowSolidPng(40, 20, kRed));
    CheckingSystem checking;
    startup::SaverSample checked{app, settings, checking};
    checked.UsePassword = 1;
    frmScreenSaver& saver = app.Load<frmScreenSaver>(checked);
    Settle();
    const HWND window = WindowOf(saver);
    saver.Show();
    Tick(saver);
    ASSERT_TRUE(PumpUntil([&] { return MiddleOnScreen(window) == kRed; }));

    pictures.Write("slide.png", SlowSolidPng(8000, 6000, kBlue));  // the next slide is slow
    int depth = 0;
    int deepest = 0;
    saver.Timer.on_timer = [&, tick = saver.Timer.on_timer] {
        deepest = std::max(deepest, ++depth);
        tick();
        --depth;
    };
    saver.Timer.Interval = 50;  // real ticks come while the check runs
    std::uint32_t seen = 0;     // on screen at the end of the check
    checking.during = [&] {
        Pump(std::chrono::milliseconds(400));  // the dialog's own message loop
        seen = MiddleOnScreen(window);
    };
    PostMessageW(window, WM_KEYDOWN, VK_F7, 1);  // delivered in the load: the check opens
    Tick(saver);
    saver.Timer.Interval = 0;
    EXPECT_EQ(deepest, 1) << "a tick ran inside the tick";
    EXPECT_EQ(seen, kRed) << "no check during the load, or a half-done slide painted";
    EXPECT_TRUE(PumpUntil([&] { return MiddleOnScreen(window) == kBlue; }))
        << "the paint held back was never done";
}

// Whatever reaches the slide show while a tick waits for its picture, any key (those that dialogs
// take for their own too), a click or a host's close request, ends the program while the load is
// still under way.
class SlowLoadTest : public FormTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(SlowLoadTest, TheProgramEndsBeforeTheLoadIsDone) {
    pictures.Write("slow.png", SlowSolidPng(8000, 6000, kRed));
    frmScreenSaver& saver = LoadSaver();
    saver.Show();
    const HWND window = WindowOf(saver);
    ASSERT_TRUE(PumpUntil([&] {  // in front and painted: what the user sees and acts on
        return GetForegroundWindow() == window && !GetUpdateRect(window, nullptr, FALSE);
    }));
    bool loading = false;  // when the program ended, if it did
    app.WhenEnding([&] { loading = backend.Busy(); });
    if (GetParam() == VK_LBUTTON) {
        POINT centre{scale.X(saver.Width) / 2, scale.Y(saver.Height) / 2};
        ClientToScreen(window, &centre);
        SetCursorPos(centre.x, centre.y);
        mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
        mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    } else if (GetParam() != 0) {
        keybd_event(static_cast<BYTE>(GetParam()), 0, 0, 0);
        keybd_event(static_cast<BYTE>(GetParam()), 0, KEYEVENTF_KEYUP, 0);
    } else {
        PostMessageW(window, WM_CLOSE, 0, 0);
    }
    Tick(saver);  // it hides the picture, then loads the slow one, delivering what came meanwhile
    EXPECT_TRUE(loading) << "not ended, or only once the load was done";
}

// VK_LBUTTON stands for a click, 0 for a close request.
INSTANTIATE_TEST_SUITE_P(Arrivals, SlowLoadTest,
                         ::testing::Values(VK_ESCAPE, VK_TAB, VK_RETURN, VK_SPACE, 'A', VK_LBUTTON,
                                           0));

}  // namespace
}  // namespace kivo::test
